#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end: the real program under a real X server and window manager, driven and checked
# from outside the process.
#   e2e.sh PATH/TO/lexorquine [openbox|xfwm4|mutter|kwin] [FOLDER FOR SCREENSHOTS]
# ECHELLE=2 has Qt draw the program at 2 screen pixels per pixel (QT_SCALE_FACTOR), ECRAN=WxH
# sets the screen's size (1280x1024), and DEPARTS=N adds N starts that check the window's place.
set -uo pipefail
program="$(realpath "$1")"
wm="${2:-openbox}"
shots="${3:-}"
scale="${ECHELLE:-1}"
screen="${ECRAN:-1280x1024}"
# The real X server, whatever the rest of the suite uses.
unset QT_QPA_PLATFORM
work="$(mktemp -d)"
# Every process the test starts carries this mark, and so do those that they start in turn (the
# services that the session bus activates, and theirs).
mark="LEXORQUINE_E2E=$work"
marked() {
    grep -lzx -- "$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}
pids=()
cleanup() {
    local status=$? i pid left
    # The last started first: the program, the window manager, the bus, then the X server.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
    done
    # What the bus started ends with it; anything left is a fault of the test, and goes too.
    wait_until 10 '[[ -z "$(marked)" ]]'
    left="$(marked)"
    if [[ -n "$left" ]]; then
        echo "ÉCHEC ($wm) : processus laissés après le test :" >&2
        for pid in $left; do
            echo "  $pid $(tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null)" >&2
            kill "$pid" 2>/dev/null
        done
        status=1
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
# Stopped from outside (a time limit), it still cleans up.
trap "exit 143" TERM INT

fail() {
    echo "ÉCHEC ($wm, échelle $scale) : $*" >&2
    # What the screen showed then, when screenshots are asked for.
    [[ -n "$shots" && -n "${DISPLAY:-}" ]] && xwd -root -silent > "$shots/$wm-echec.xwd" 2>/dev/null
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

# Those of GNOME and KDE draw with OpenGL: in software here. kwin is a Qt program, and takes
# nothing of the test's Qt variables.
case "$wm" in
openbox) wm_command=(openbox) wm_tools="openbox" ;;
xfwm4) wm_command=(xfwm4 --compositor=off) wm_tools="dbus-daemon xfwm4" ;;
mutter)
    wm_command=(env LIBGL_ALWAYS_SOFTWARE=1 mutter --x11 --replace --sm-disable)
    wm_tools="dbus-daemon mutter"
    ;;
kwin)
    wm_command=(env $(compgen -e | grep '^QT_' | sed 's/^/-u /') kwin_x11 --replace)
    wm_tools="dbus-daemon dbus-update-activation-environment kwin_x11"
    ;;
*) fail "gestionnaire de fenêtres inconnu : $wm" ;;
esac
for tool in Xvfb $wm_tools xdotool xwininfo xprop xev xwd; do
    command -v "$tool" >/dev/null || fail "$tool est introuvable (tools/install-deps.sh --tests l'installe)"
done

# A free display, chosen by the server itself.
exec 3>"$work/display"
env "$mark" Xvfb -displayfd 3 -noreset -screen 0 "${screen}x24" -nolisten tcp 2>/dev/null &
pids+=($!)
exec 3>&-
wait_until 10 '[[ -s "$work/display" ]]' || fail "Xvfb ne démarre pas"
export DISPLAY=":$(head -1 "$work/display")"
wait_until 10 'xprop -root' || fail "l'affichage $DISPLAY ne répond pas"
wm_environment=()
if [[ "$wm" != openbox ]]; then
    # Their settings live behind D-Bus: without a session bus xfwm4 leaves at once. A bus of our
    # own, in the foreground, so that its process is ours to stop; what it starts for kwin
    # needs the display.
    env "$mark" dbus-daemon --session --nofork --nopidfile --print-address=1 > "$work/bus" 2>/dev/null &
    pids+=($!)
    wait_until 10 '[[ -s "$work/bus" ]]' || fail "le bus de session ne démarre pas"
    wm_environment=("DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")")
    env "${wm_environment[@]}" dbus-update-activation-environment DISPLAY \
        || fail "le bus de session ne connaît pas l'affichage"
fi
env "$mark" "${wm_environment[@]}" "${wm_command[@]}" >/dev/null 2>&1 &
pids+=($!)
wait_until 15 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
    || fail "$wm ne démarre pas"

printf 'Il était une fois\r\nun conte à raconter.\r\n' > "$work/conte.txt"
printf '# Pas un texte\n' > "$work/notes.md"

# px N: N of the program's pixels in the screen's.
px() { awk -v n="$1" -v s="$scale" 'BEGIN { printf "%d", n * s + (n < 0 ? -0.5 : 0.5) }'; }
width_expected="$(px 710)" height_expected="$(px 482)"
geometry_of() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}'; }
geometry() { geometry_of "$window"; }
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
active_is() { [[ "$(xdotool getactivewindow 2>/dev/null)" == "$1" ]]; }
shot() { [[ -n "$shots" ]] && xwd -root -silent > "$shots/$wm-$1.xwd"; }

# start [ARGUMENT...]: runs the program and waits for its main window, active.
start() {
    : > "$work/stderr"
    # The file dialog opens in the folder the program starts in: the test's own, where it types
    # names alone. A typed folder would move the dialog while the name that follows is typed,
    # and could lose it.
    (cd "$work" && exec env "$mark" QT_SCALE_FACTOR="$scale" "$program" "$@" 2>"$work/stderr") &
    app=$!
    pids+=($app)
    wait_until 15 '[[ -n "$(xdotool search --all --onlyvisible --pid "$app" --classname lexorquine)" ]]' \
        || fail "la fenêtre principale n'apparaît pas"
    window="$(xdotool search --all --onlyvisible --pid "$app" --classname lexorquine | head -1)"
    wait_until 10 'active_is "$window"' || fail "la fenêtre principale n'est pas active au démarrage"
    read -r x y width height < <(geometry)
    centred_on_screen
}
# centred_on_screen: the whole window, centred on the screen within a pixel.
centred_on_screen() {
    local screen_width="${screen%x*}" screen_height="${screen#*x}"
    [[ "$width $height" == "$width_expected $height_expected" ]] \
        || fail "taille $width × $height au lieu de $width_expected × $height_expected"
    local dx=$((2 * x + width - screen_width)) dy=$((2 * y + height - screen_height))
    ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) \
        || fail "position $x,$y : la fenêtre n'est pas centrée ($(((screen_width - width) / 2)),$(((screen_height - height) / 2)))"
    ((x >= 0 && y >= 0)) || fail "position $x,$y : la fenêtre sort de l'écran"
}
# ends: waits for the program to end; fails unless its status is 0.
ends() {
    wait_until 10 '! kill -0 "$app"' || fail "$1 ne termine pas le programme"
    wait "$app"
    local status=$? i
    for i in "${!pids[@]}"; do [[ "${pids[i]}" != "$app" ]] || unset "pids[i]"; done
    pids=("${pids[@]}")
    [[ $status -eq 0 ]] || fail "$1 : code de sortie $status au lieu de 0"
}
click() { xdotool mousemove $((x + $(px "$1"))) $((y + $(px "$2"))) click 1; }
# Qt names the untitled main window after the program too: leave it out.
help_window() { xdotool search --all --onlyvisible --pid "$app" --name '^Lexorquine$' | grep -vx "$window" | head -1; }
dialog() { xdotool search --all --onlyvisible --pid "$app" --name '^Ouvrir un fichier texte$' | head -1; }
message_box() { help_window; }
window_names() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$app"); do
        printf '« %s » ' "$(xdotool getwindowname "$id")"
    done
}
# back_to_main WHAT: once a window of the program has gone, the main window is active again.
back_to_main() {
    wait_until 10 'active_is "$window"' \
        || fail "$1 : la fenêtre principale n'est pas active (active : $(xdotool getactivewindow 2>/dev/null))"
}
# minimised_and_back ID WHAT: the window manager minimises the window, which comes back by itself.
# Its events are watched from before the request: it may come back before a look could catch it
# gone, and a window still shown only because the request is not yet handled does not pass.
minimised_and_back() {
    local target="$1" spy allowed
    # mutter offers no minimising of a dialog: nothing to undo.
    if allowed="$(xprop -id "$target" _NET_WM_ALLOWED_ACTIONS)" && [[ "$allowed" == *"="* ]] \
        && [[ "$allowed" != *_NET_WM_ACTION_MINIMIZE* ]]; then
        return
    fi
    env "$mark" xev -id "$target" -event structure -event property > "$work/events" 2>/dev/null &
    spy=$!
    pids+=($spy)
    # Listening once it reports the change of a property of the test's own.
    wait_until 10 'xprop -id "$target" -f LEXORQUINE_E2E 8s -set LEXORQUINE_E2E 1
        grep -q LEXORQUINE_E2E "$work/events"' || fail "les événements de $2 restent inconnus"
    xdotool windowminimize "$target"
    wait_until 10 'grep -q "^UnmapNotify" "$work/events"' || fail "$2 n'est pas réduite"
    wait_until 10 'sed -n "/^UnmapNotify/,\$p" "$work/events" | grep -q "^MapNotify" && viewable "$target"' \
        || fail "$2 reste réduite"
    kill "$spy"
    wait "$spy" 2>/dev/null
    unset "pids[-1]"
}
# keyboard_back WHAT: after WHAT the main window has the keyboard again, on the open button:
# Return opens the dialog, Escape cancels it.
keyboard_back() {
    back_to_main "après $1"
    xdotool key Return
    wait_until 10 '[[ -n "$(dialog)" ]]' \
        || fail "après $1, Entrée n'ouvre pas le dialogue : le clavier n'est pas revenu"
    wait_until 10 'active_is "$(dialog)"' || fail "le dialogue n'est pas actif"
    xdotool key Escape
    wait_until 10 '[[ -z "$(dialog)" ]]' || fail "Échap ne ferme pas le dialogue"
    back_to_main "après le dialogue annulé"
}
# centred_over ID: the window's centre is within a few pixels of the main window's.
centred_over_main() {
    local bx by bw bh
    read -r bx by bw bh < <(geometry_of "$1")
    local dx=$((bx + bw / 2 - x - width / 2)) dy=$((by + bh / 2 - y - height / 2)) near
    near="$(px 60)"
    ((dx * dx + dy * dy < near * near)) || { echo "($bx,$by ${bw}×$bh)"; return 1; }
}
# open_path PATH: the file dialog, the typed name of PATH (a file of the test's folder) and Return.
open_path() {
    click 98 44
    wait_until 10 '[[ -n "$(dialog)" ]]' || fail "le bouton d'ouverture ne montre pas le dialogue"
    local where
    # kwin maps a window before it moves it into place: its place settles a moment later.
    wait_until 3 'centred_over_main "$(dialog)"' \
        || where="$(centred_over_main "$(dialog)")" \
        || fail "le dialogue $where ne s'ouvre pas sur la fenêtre principale ($x,$y)"
    xdotool windowactivate --sync "$(dialog)" 2>/dev/null || true
    wait_until 10 'active_is "$(dialog)"' || fail "le dialogue n'est pas actif"
    xdotool type --delay 5 "$(basename "$1")"
    xdotool key Return
    # The file name box may have opened its completion list meanwhile, an untitled window of
    # its own: that Return only closed the list. The dialog, still there and active, takes the
    # next one.
    if ! wait_until 3 '[[ -z "$(dialog)" ]]' && active_is "$(dialog)"; then
        xdotool key Return
    fi
    wait_until 10 '[[ -z "$(dialog)" ]]' \
        || fail "le dialogue ne se ferme pas après Entrée ($1 ; fenêtres : $(window_names))"
}
# The French error box for a file that is not a text, centred over the main window; Return closes it.
error_box_centred() {
    open_path "$work/notes.md"
    wait_until 10 '[[ -n "$(message_box)" ]]' || fail "pas de message pour un fichier .md"
    local where
    wait_until 3 'centred_over_main "$(message_box)"' \
        || where="$(centred_over_main "$(message_box)")" \
        || fail "départ $1 : le message $where ne s'ouvre pas sur la fenêtre principale ($x,$y)"
    shot "message-$1"
    wait_until 10 'active_is "$(message_box)"' || fail "le message n'est pas actif"
    xdotool key Return
    wait_until 10 '[[ -z "$(message_box)" ]]' || fail "Entrée ne ferme pas le message"
    back_to_main "départ $1, après le message"
}

start
xprop -id "$window" _NET_FRAME_EXTENTS | grep -Eq '= 0, 0, 0, 0|not found' \
    || fail "la fenêtre a une bordure : $(xprop -id "$window" _NET_FRAME_EXTENTS)"
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR \
    || fail "la fenêtre a un bouton dans la barre des tâches"
shot start

# The focus starts in the text: two steps back lead to the help button, which Return presses.
xdotool key shift+Tab shift+Tab Return
wait_until 10 '[[ -n "$(help_window)" ]]' \
    || fail "Maj+Tab, Maj+Tab, Entrée n'ouvrent pas l'aide : le focus n'était pas dans le texte"
help="$(help_window)"
wait_until 10 'active_is "$help"' || fail "la fenêtre d'aide n'est pas active"
shot help
# No room beside the main window on this screen: the help window opens over it.
read -r hx hy hw hh < <(geometry_of "$help")
((hx + hw / 2 > x && hx + hw / 2 < x + width && hy + hh / 2 > y && hy + hh / 2 < y + height)) \
    || fail "la fenêtre d'aide ($hx,$hy) ne s'ouvre pas sur la fenêtre principale ($x,$y)"
if allowed="$(xprop -id "$help" _NET_WM_ALLOWED_ACTIONS)" && [[ "$allowed" == *"="* ]]; then
    [[ "$allowed" != *MAXIMIZE* && "$allowed" != *RESIZE* ]] \
        || fail "la fenêtre d'aide se laisse agrandir : $allowed"
fi
# Minimised all the same, it comes back, and the main window stays.
minimised_and_back "$help" "la fenêtre d'aide"
viewable "$window" || fail "la fenêtre principale disparaît avec la fenêtre d'aide"
# Return on the focused OK closes it.
xdotool windowactivate --sync "$help" 2>/dev/null || true
wait_until 10 'active_is "$help"' || fail "la fenêtre d'aide n'est plus active"
xdotool key Return
wait_until 10 '[[ -z "$(help_window)" ]]' || fail "Entrée sur OK ne ferme pas la fenêtre d'aide"
back_to_main "après OK dans la fenêtre d'aide"
# The keyboard is back on the help button, whatever way the help window went: Return opens it
# again, and it closes by Escape, then by the window manager's close (Alt+F4, as its close box).
for way in Escape alt+F4; do
    xdotool key Return
    wait_until 10 '[[ -n "$(help_window)" ]]' \
        || fail "Entrée ne rouvre pas l'aide : le clavier n'est pas revenu sur le bouton d'aide"
    wait_until 10 'active_is "$(help_window)"' || fail "la fenêtre d'aide rouverte n'est pas active"
    xdotool key "$way"
    wait_until 10 '[[ -z "$(help_window)" ]]' || fail "$way ne ferme pas la fenêtre d'aide"
    back_to_main "après $way dans la fenêtre d'aide"
done
# The help button brings it back; Escape closes it.
click 146 44
wait_until 10 '[[ -n "$(help_window)" ]]' || fail "le bouton d'aide n'ouvre pas la fenêtre d'aide"
xdotool windowactivate --sync "$(help_window)" key Escape 2>/dev/null
wait_until 10 '[[ -z "$(help_window)" ]]' || fail "Échap ne ferme pas la fenêtre d'aide"
back_to_main "après la fenêtre d'aide ouverte par la souris"

# The rounded outline: the top-left pixel belongs to what lies underneath.
under_pointer() { xdotool mousemove --sync "$1" "$2" getmouselocation --shell | sed -n 's/^WINDOW=//p'; }
# The window manager may report its frame around the window rather than the window itself.
frame=$(($(xwininfo -tree -id "$window" | awk '/Parent window id/{print $4}')))
on_background="$(under_pointer $((x + $(px 300))) $((y + $(px 290))))"
[[ "$on_background" == "$window" || "$on_background" == "$frame" ]] || fail "le fond n'est pas à la fenêtre"
on_corner="$(under_pointer "$x" "$y")"
[[ "$on_corner" != "$window" && "$on_corner" != "$frame" ]] || fail "le coin haut-gauche n'est pas arrondi"

# Dragging the background: the pointer goes there step by step, the button held.
drag() { # button dx dy
    local x0 y0 step
    read -r x0 y0 _ < <(geometry)
    x0=$((x0 + $(px 300))) y0=$((y0 + $(px 290)))
    xdotool mousemove --sync "$x0" "$y0" mousedown "$1"
    for step in $(seq 1 40); do
        xdotool mousemove --sync $((x0 + $2 * step / 40)) $((y0 + $3 * step / 40))
    done
    xdotool mouseup "$1"
}
read -r x0 y0 _ < <(geometry)
# The right button does not move it: the left drag that follows moves it by its own way only.
drag 3 40 30
drag 1 50 20
expected="$((x0 + 50)) $((y0 + 20)) $width $height"
wait_until 5 '[[ "$(geometry)" == "$expected" ]]' \
    || fail "le glisser ne déplace pas la fenêtre comme il faut (de $x0,$y0 à $(geometry))"
read -r x y _ < <(geometry)
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE \
    || fail "après un appui sur le fond la fenêtre ne reste pas au premier plan"
# The program knows where its window went: the error box opens over it.
error_box_centred 1
# The keyboard is back on the open button, which the click left focused.
keyboard_back "le message"

# A minimised main window comes back by itself.
minimised_and_back "$window" "la fenêtre principale"
keyboard_back "la réduction refusée"

# Open: the file dialog, a typed path and Return load the file.
xdotool mousemove --sync $((x + $(px 300))) $((y + $(px 290)))
xwd -silent -id "$window" > "$work/before.xwd"
open_path "$work/conte.txt"
kill -0 "$app" 2>/dev/null || fail "le programme s'est arrêté pendant l'ouverture"
wait_until 10 'xwd -silent -id "$window" > "$work/after.xwd" && ! cmp -s "$work/before.xwd" "$work/after.xwd"' \
    || fail "rien n'a changé à l'écran après l'ouverture"
[[ -z "$(message_box)" ]] || fail "un message d'erreur est apparu à l'ouverture"
shot loaded
# After an open the keyboard is in the text, as at the start: two steps back, Return, the help.
back_to_main "après l'ouverture"
xdotool key shift+Tab shift+Tab Return
wait_until 10 '[[ -n "$(help_window)" ]]' \
    || fail "après l'ouverture, Maj+Tab, Maj+Tab, Entrée n'ouvrent pas l'aide : le clavier n'est pas dans le texte"
wait_until 10 'active_is "$(help_window)"' || fail "la fenêtre d'aide n'est pas active"
xdotool key Escape
wait_until 10 '[[ -z "$(help_window)" ]]' || fail "Échap ne ferme pas la fenêtre d'aide"
back_to_main "après la fenêtre d'aide"

# Alt+F4 ends the program with status 0.
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key alt+F4
ends "Alt+F4"

# The error box lands over the main window at every start; the quit button ends it.
for run in 2 3 4 5; do
    start
    error_box_centred "$run"
    click 658 44
    ends "le bouton Quitter"
done
# Named on the command line, a file opens at start; the list of its words, saved from the
# report's menu opened by the keyboard, is the spreadsheet's file. The help needs no display.
save_dialog() { xdotool search --all --onlyvisible --pid "$app" --name '^Enregistrer la liste des mots$'; }
file_on_command_line() {
    [[ "$(env -u DISPLAY "$program" --help | head -1)" == "Utilisation : lexorquine "* ]] \
        || fail "--help ne répond pas sans affichage"
    start conte.txt notes.md
    wait_until 10 'grep -q "« conte.txt » s'"'"'ouvre, l'"'"'autre est ignoré : « notes.md »" "$work/stderr"' \
        || fail "pas de ligne sur le fichier ignoré"
    # A click in the report, then away from it (its tool tip would be one more window). Until
    # the open has ended, the click is dropped or the menu's entry is off: once more, then.
    local try
    for try in 1 2 3 4 5 6; do
        click 240 380
        xdotool mousemove $((x + $(px 300))) $((y + $(px 290))) key shift+F10
        wait_until 10 '[[ "$(xdotool search --all --onlyvisible --pid "$app" | wc -l)" == 2 ]]' \
            || fail "Maj+F10 n'ouvre pas de menu ($(window_names))"
        xdotool key e
        wait_until 2 '[[ -n "$(save_dialog)" ]]' && break
        xdotool key Escape
    done
    [[ -n "$(save_dialog)" ]] || fail "E dans le menu de la liste n'ouvre pas l'enregistrement"
    shot save-dialog
    xdotool key Return
    { printf '\xef\xbb\xbfMot;Occurrences\r\n'; printf '%s;1\r\n' Il était une fois un conte à raconter; } \
        > "$work/attendu.csv"
    wait_until 10 'cmp -s "$work/conte.csv" "$work/attendu.csv"' \
        || fail "la liste enregistrée n'est pas celle du texte : $(od -c "$work/conte.csv" | head -5)"
    click 658 44
    ends "le bouton Quitter après un fichier en argument"
}
file_on_command_line
# Some window managers place the window right only in some starts.
starts_centred() {
    local run
    for ((run = 1; run <= $1; run++)); do
        start
        click 658 44
        ends "le bouton Quitter"
    done
}
starts_centred "${DEPARTS:-0}"
echo "e2e ($wm) : tout est bon"
