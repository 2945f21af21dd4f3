#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end: the real program under a real X server and window manager, driven and checked
# from outside the process.   e2e.sh PATH/TO/lexorquine
set -uo pipefail
program="$1"
# The real X server, whatever the rest of the suite uses.
unset QT_QPA_PLATFORM
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "ÉCHEC : $*" >&2
    [[ -s "$work/stderr" ]] && sed "s/^/  lexorquine : /" "$work/stderr" >&2
    exit 1
}
# wait_until SECONDS 'CONDITION': polls the shell condition until it holds; false at the deadline.
wait_until() {
    local deadline=$((SECONDS + $1)); shift
    until eval "$1" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

for tool in Xvfb openbox xdotool xwininfo xprop xwd; do
    command -v "$tool" >/dev/null || fail "$tool est introuvable (tools/install-deps.sh l'installe)"
done

# A free display, chosen by the server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
pids+=($!)
wait_until 10 '[[ -s "$work/display" ]]' || fail "Xvfb ne démarre pas"
export DISPLAY=":$(head -1 "$work/display")"
wait_until 10 'xprop -root' || fail "l'affichage $DISPLAY ne répond pas"
openbox >/dev/null 2>&1 &
pids+=($!)
wait_until 10 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
    || fail "openbox ne démarre pas"

printf 'Il était une fois\r\nun conte à raconter.\r\n' > "$work/conte.txt"

"$program" 2>"$work/stderr" &
app=$!
pids+=($app)
main_window() { xdotool search --all --onlyvisible --pid "$app" --classname lexorquine | head -1; }
wait_until 15 '[[ -n "$(main_window)" ]]' || fail "la fenêtre principale n'apparaît pas"
window="$(main_window)"

geometry() { xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}'; }
read -r x y width height < <(geometry)
[[ "$width $height" == "710 482" ]] || fail "taille $width × $height au lieu de 710 × 482"
[[ "$x $y" == "285 271" ]] || fail "position $x,$y : la fenêtre n'est pas centrée (285,271)"
xprop -id "$window" _NET_FRAME_EXTENTS | grep -Eq '= 0, 0, 0, 0|not found' \
    || fail "la fenêtre a une bordure : $(xprop -id "$window" _NET_FRAME_EXTENTS)"

# The rounded outline: the top-left pixel belongs to what lies underneath.
under_pointer() { xdotool mousemove "$1" "$2" && sleep 0.1 && xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'; }
# The window manager may report its frame around the window rather than the window itself.
frame=$(($(xwininfo -tree -id "$window" | awk '/Parent window id/{print $4}')))
on_background="$(under_pointer $((x + 300)) $((y + 290)))"
[[ "$on_background" == "$window" || "$on_background" == "$frame" ]] || fail "le fond n'est pas à la fenêtre"
on_corner="$(under_pointer "$x" "$y")"
[[ "$on_corner" != "$window" && "$on_corner" != "$frame" ]] || fail "le coin haut-gauche n'est pas arrondi"

click() { xdotool mousemove $((x + $1)) $((y + $2)) click 1; }
# Qt names the untitled main window after the program too: leave it out.
help_window() { xdotool search --all --onlyvisible --pid "$app" --name '^Lexorquine$' | grep -vx "$window" | head -1; }

# Help: a window titled "Lexorquine" that Escape closes.
click 146 44
wait_until 10 '[[ -n "$(help_window)" ]]' || fail "le bouton d'aide n'ouvre pas la fenêtre d'aide"
# No room beside the main window on this screen: the help window opens over it.
read -r hx hy hw hh < <(xwininfo -id "$(help_window)" | awk '/Absolute upper-left X/{x=$NF}
    /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}')
((hx + hw / 2 > x && hx + hw / 2 < x + 710 && hy + hh / 2 > y && hy + hh / 2 < y + 482)) \
    || fail "la fenêtre d'aide ($hx,$hy) ne s'ouvre pas sur la fenêtre principale ($x,$y)"
xdotool windowactivate --sync "$(help_window)" key Escape
wait_until 10 '[[ -z "$(help_window)" ]]' || fail "Échap ne ferme pas la fenêtre d'aide"

# Dragging the background: the left button moves the window, the right one does not.
drag() { # button dx dy
    read -r x y _ < <(geometry)
    xdotool mousemove $((x + 300)) $((y + 290)) mousedown "$1" sleep 0.3 \
        mousemove $((x + 300 + $2 / 2)) $((y + 290 + $3 / 2)) sleep 0.1 \
        mousemove $((x + 300 + $2)) $((y + 290 + $3)) sleep 0.1 mouseup "$1"
}
read -r x0 y0 _ < <(geometry)
drag 3 40 30
sleep 0.3
read -r x y _ < <(geometry)
[[ "$x $y" == "$x0 $y0" ]] || fail "un glisser du bouton droit déplace la fenêtre"
drag 1 40 30
wait_until 5 '[[ "$(geometry)" == "$((x0 + 40)) $((y0 + 30)) 710 482" ]]' \
    || fail "un glisser du bouton gauche ne déplace pas la fenêtre ($(geometry))"
read -r x y _ < <(geometry)

# Open: the file dialog, a typed path and Return load the file.
xdotool mousemove $((x + 300)) $((y + 290))
sleep 0.2
xwd -silent -id "$window" > "$work/before.xwd"
click 98 44
dialog() { xdotool search --all --onlyvisible --pid "$app" --name '^Ouvrir un fichier texte$' | head -1; }
wait_until 10 '[[ -n "$(dialog)" ]]' || fail "le bouton d'ouverture ne montre pas le dialogue"
xdotool windowactivate --sync "$(dialog)"
xdotool type --delay 5 "$work/conte.txt"
xdotool key Return
wait_until 10 '[[ -z "$(dialog)" ]]' || fail "le dialogue ne se ferme pas après Entrée"
kill -0 "$app" 2>/dev/null || fail "le programme s'est arrêté pendant l'ouverture"
sleep 0.3
[[ -z "$(help_window)" ]] || fail "un message d'erreur est apparu à l'ouverture"
xdotool mousemove $((x + 300)) $((y + 290))
sleep 0.3
xwd -silent -id "$window" > "$work/after.xwd"
cmp -s "$work/before.xwd" "$work/after.xwd" && fail "rien n'a changé à l'écran après l'ouverture"
# Still answering: the help window opens and closes again.
click 146 44
wait_until 10 '[[ -n "$(help_window)" ]]' || fail "la fenêtre ne répond plus après l'ouverture"
xdotool windowactivate --sync "$(help_window)" key Escape
wait_until 10 '[[ -z "$(help_window)" ]]' || fail "Échap ne ferme plus la fenêtre d'aide"

# Quit: the process ends with exit code 0.
click 658 44
deadline=$((SECONDS + 10))
while kill -0 "$app" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "le bouton Quitter ne termine pas le programme"
    sleep 0.05
done
wait "$app"
status=$?
[[ $status -eq 0 ]] || fail "code de sortie $status au lieu de 0"
echo "e2e : tout est bon"
