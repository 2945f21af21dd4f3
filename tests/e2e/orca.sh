#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end with a real screen reader: Orca listens to the program under a real X server, the
# program is driven by the keyboard alone, and what Orca would say is read from its log.
#   orca.sh PATH/TO/lexorquine
set -uo pipefail
program="$(realpath "$1")"
unset QT_QPA_PLATFORM
work="$(mktemp -d)"
# Every process the test starts carries this mark, and so do those that they start in turn.
mark="LEXORQUINE_E2E=$work"
marked() {
    grep -lzx -- "$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}
pids=()
cleanup() {
    local status=$? i pid left
    # The last started first: the program, Orca, the window manager, the bus, the X server.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
        # Orca is not a child of this shell: its end is watched.
        wait_until 10 "! kill -0 ${pids[i]}"
    done
    # What the buses started ends with them; anything left is a fault of the test, and goes too.
    wait_until 10 '[[ -z "$(marked)" ]]'
    left="$(marked)"
    if [[ -n "$left" ]]; then
        echo "ÉCHEC (orca) : processus laissés après le test :" >&2
        for pid in $left; do
            echo "  $pid $(tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null)" >&2
            kill "$pid" 2>/dev/null
        done
        status=1
    fi
    # ORCA_JOURNAL=FILE keeps Orca's whole log there.
    [[ -n "${ORCA_JOURNAL:-}" ]] && tr -d '\r' < "$work/orca.log" > "$ORCA_JOURNAL"
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap "exit 143" TERM INT

# spoken: what Orca said, one line each, in order.
spoken() { tr -d '\r' < "$work/orca.log" | sed -n "s/^[0-9:.]* - SPEECH OUTPUT: '\(.*\)' *{.*/\1/p"; }
fail() {
    echo "ÉCHEC (orca) : $*" >&2
    echo "  Orca a dit en dernier :" >&2
    spoken | tail -15 | sed 's/^/    /' >&2
    [[ -s "$work/stderr" ]] && sed "s/^/  lexorquine : /" "$work/stderr" | tail -20 >&2
    exit 1
}
wait_until() {
    local deadline=$((SECONDS + $1)); shift
    until eval "$1" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}
for tool in Xvfb openbox dbus-daemon orca script xdotool xprop; do
    command -v "$tool" >/dev/null || fail "$tool est introuvable (tools/install-deps.sh --tests l'installe)"
done

exec 3>"$work/display"
env "$mark" Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
pids+=($!)
exec 3>&-
wait_until 10 '[[ -s "$work/display" ]]' || fail "Xvfb ne démarre pas"
export DISPLAY=":$(head -1 "$work/display")"
wait_until 10 'xprop -root' || fail "l'affichage $DISPLAY ne répond pas"
# A session bus of our own, in the foreground: the accessibility bus is found through it.
env "$mark" dbus-daemon --session --nofork --nopidfile --print-address=1 > "$work/bus" 2>/dev/null &
pids+=($!)
wait_until 10 '[[ -s "$work/bus" ]]' || fail "le bus de session ne démarre pas"
export DBUS_SESSION_BUS_ADDRESS="$(head -1 "$work/bus")"
env "$mark" openbox >/dev/null 2>&1 &
pids+=($!)
wait_until 15 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox ne démarre pas"

# Orca with its default settings, in an empty home. Its log goes to a terminal, which it
# writes line by line; `script` keeps that terminal's output in a file.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The site opened by the help window's link is written down here, not shown.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$work/sites" > "$work/navigateur"
chmod +x "$work/navigateur"
export BROWSER="$work/navigateur"
# Orca will not start beside another Orca of the same user: one still ending is waited for.
wait_until 30 '! pgrep -x orca' || fail "un autre Orca tourne déjà : $(pgrep -a -x orca)"
# Orca speaks English here, whatever the machine's language: the words checked below are its.
env "$mark" LC_ALL=C.UTF-8 LANGUAGE= script -qfec "orca --debug-file=/dev/stdout" "$work/orca.log" \
    >/dev/null 2>&1 &
pids+=($!)
# Orca itself is stopped before its terminal, and waited for. The terminal's shell may start it
# as its child or in its place: the newest Orca is ours, none other running.
wait_until 10 'orca_pid=$(pgrep -x -n orca)' || fail "Orca ne démarre pas"
pids+=("$orca_pid")
wait_until 30 'spoken | grep -q .' || fail "Orca ne parle pas"

# said WHAT TEXT: Orca says TEXT (a fixed string, within one utterance) after the mark.
heard=0
mark_heard() { heard=$(spoken | wc -l); }
said_since() { spoken | sed -n "$((heard + 1)),\$p" | grep -qF ${how:+"$how"} -- "$1"; }
said() {
    expected="$2"
    wait_until "${3:-10}" 'said_since "$expected"' || fail "$1 : Orca ne dit pas « $2 »"
}
# said_line WHAT TEXT: the same, TEXT being all of one utterance.
said_line() { how=-x said "$@"; }
# now: the time of day as Orca's log gives it, in seconds; spoken_at TEXT: when Orca said it.
now() { date +%H:%M:%S.%N | awk -F: '{ print $1 * 3600 + $2 * 60 + $3 }'; }
spoken_at() {
    tr -d '\r' < "$work/orca.log" | grep -F "SPEECH OUTPUT: '$1'" | tail -1 \
        | awk -F: '{ print $1 * 3600 + $2 * 60 + substr($3, 1, 9) }'
}
# within SECONDS FROM TO: TO came less than SECONDS after FROM.
within() { awk -v s="$1" -v a="$2" -v b="$3" 'BEGIN { exit !(b - a < s) }'; }
# keys WHAT KEY...: presses the keys, after which Orca says what comes next.
keys() { mark_heard; xdotool key --delay 60 "${@:2}"; }

printf ' Il était une fois\r\nun conte à raconter.\r\nLa rivière coule jusqu'"'"'au barrage.\r\n' > "$work/conte.txt"
(cd "$work" && exec env "$mark" "$program" 2>"$work/stderr") &
app=$!
pids+=($app)
alive() { kill -0 "$app" 2>/dev/null || fail "le programme s'est arrêté ($1)"; }
said "au démarrage" "Texte du fichier read only text." 20

# Orca's title command: Orca key (Insert) + keypad Enter.
mark_heard
xdotool keydown Insert key KP_Enter keyup Insert
said_line "la commande du titre" "Lexorquine"

# The open button is three steps back from the text; the dialog takes a name and Return.
keys "vers le bouton d'ouverture" shift+Tab shift+Tab shift+Tab
said "vers le bouton d'ouverture" "Ouvrir un fichier push button"
xdotool key Return
dialog() { xdotool search --all --onlyvisible --pid "$app" --name '^Ouvrir un fichier texte$' | head -1; }
# type_name NAME: the file dialog, active, opens the file of the test's folder.
type_name() {
    wait_until 10 '[[ -n "$(dialog)" ]]' || fail "Entrée sur le bouton d'ouverture ne montre pas le dialogue"
    wait_until 10 '[[ "$(xdotool getactivewindow)" == "$(dialog)" ]]' || fail "le dialogue n'est pas actif"
    mark_heard
    xdotool type --delay 20 "$1"
    xdotool key Return
    # The file name box may have opened its completion list: that Return only closed it.
    if ! wait_until 3 '[[ -z "$(dialog)" ]]'; then
        xdotool key Return
    fi
}
type_name conte.txt
said "à l'ouverture" "notification 3 lignes, 72 Caractères, 14 Mots, 14 Mots différents"

# Line by line, every line whole.
keys "ligne suivante" Down
said "ligne suivante" "un conte à raconter."
keys "ligne suivante" Down
said "ligne suivante" "La rivière coule jusqu'au barrage."
# Word by word, from a first line that starts with a blank. Control stays down until Orca has
# spoken: it tells a move by word or to the start from the keys held when it hears of the move.
mark_heard
xdotool keydown Control_L key Home
said_line "début du texte" " Il était une fois"
# Orca says the word the caret passed over: first the blank.
keys "mot suivant" Right
said_line "mot par mot dans le texte" " "
for word in Il était; do
    keys "mot suivant" Right
    alive "mot par mot dans le texte"
    said_line "mot par mot dans le texte" "$word"
done
xdotool keyup Control_L

# The report, line by line and word by word.
keys "vers le rapport" Tab
said "vers le rapport" "Occurrences des mots read only text."
# Each line is waited for: a reader that falls behind says only the last of quick moves.
keys "le rapport ligne par ligne" Down
said "le rapport ligne par ligne" "30 dash characters"
for entry in Il était une; do
    keys "le rapport ligne par ligne" Down
    said_line "le rapport ligne par ligne" "   1     $entry"
done
xdotool keydown Control_L
for word in "   " 1 une; do
    keys "le rapport mot par mot" Right
    said_line "le rapport mot par mot" "$word"
done
xdotool keyup Control_L
alive "mot par mot dans le rapport"
keys "rapport, ligne suivante" Down
said_line "le rapport reste à l'écoute" "   1     un"

# Step by step: "Auto" off, F3 steps from anywhere, Return in the search box too.
keys "vers la recherche" Tab
said "vers la recherche" "Texte à rechercher text."
xdotool type --delay 20 conte
keys "vers Auto" Tab Tab Tab
said "vers Auto" "Auto check box checked."
keys "Auto décoché" space
said "Auto décoché" "not checked"
keys "F3" F3
said "la première étape" "notification 1."
said "la première étape" "conte"
keys "F3" F3
said "la deuxième étape" "notification 2."
keys "F3" F3
said "la fin de la recherche" "notification Recherche terminée '' conte '' a été trouvé 2 fois."
# The step left the keyboard in the text: two steps on, the search box, where Return searches.
keys "vers la recherche" Tab Tab
said "vers la recherche" "Texte à rechercher text."
keys "Entrée dans la recherche" Return
said "Entrée dans la recherche" "notification 1."

# Automatic: the whole run, then its end, told at once.
keys "vers Auto" Tab Tab Tab Tab Tab
said "vers Auto" "Auto check box not checked."
keys "Auto coché" space
said "Auto coché" "checked"
depart=$(now)
keys "F3 en automatique" F3
fin="notification Recherche terminée '' conte '' a été trouvé 2 fois."
said "la fin de la recherche automatique" "$fin" 5
# Its steps may be heard or merged, as the machine's pace allows; none is told after its end.
sleep 1
spoken | sed -n "$((heard + 1)),\$p" | grep '^notification' | tail -1 | grep -qxF -- "$fin" \
    || fail "la recherche automatique dit une étape après sa fin"
# On a quiet machine within a second; the bound leaves room for a busy one, Orca being slow then.
within 8 "$depart" "$(spoken_at "$fin")" || fail "la fin de la recherche automatique tarde"

# The help window: read whole, and its link reached by Tab, spoken as a link and opened by Return.
keys "vers le bouton d'aide" shift+Tab shift+Tab
said "vers le bouton d'aide" "Aide push button"
keys "l'aide" Return
said "l'aide" "Permet l'analyse d'un texte"
keys "vers le lien" Tab
said "vers le lien" "Visiter le site lexo.example link"
keys "le lien" Return
wait_until 10 'grep -qx "https://lexo.example/" "$work/sites"' || fail "Entrée sur le lien n'ouvre pas le site"
keys "Espace sur le lien" space
wait_until 10 '[[ $(grep -c . "$work/sites") -eq 2 ]]' || fail "Espace sur le lien n'ouvre pas le site"
alive "après l'aide"
keys "fermer l'aide" Escape
said "fermer l'aide" "Aide push button"

# A long text: the automatic run does not bury the reader, whose last word is the run's end.
python3 -c '
import sys
lignes = ["La rivière coule jusqu\x27au barrage." if i % 200 == 0
          else "Le vent souffle sur la plaine et les champs." for i in range(22000)]
open(sys.argv[1], "w", newline="").write("\r\n".join(lignes) + "\r\n")' "$work/grand.txt"
keys "vers le bouton d'ouverture" shift+Tab
said "vers le bouton d'ouverture" "Ouvrir un fichier push button"
xdotool key Return
type_name grand.txt
said "à l'ouverture du long texte" "notification 22000 lignes, 966900 Caractères, 197670 Mots, 15 Mots différents" 20
keys "vers la recherche" Tab Tab
said "vers la recherche" "Texte à rechercher text."
keys "le mot cherché" ctrl+a
xdotool type --delay 100 barrage
said_line "le mot cherché" "e "
# Each key waits for Orca before the program gets it: once the focus has moved on, all are in.
keys "vers la case majuscule" Tab
said "vers la case majuscule" "Première lettre en majuscule check box"
depart=$(now)
keys "F3 en automatique" F3
fin="notification Recherche terminée '' barrage '' a été trouvé 110 fois."
said "la fin de la longue recherche automatique" "$fin" 10
# 110 steps: the reader hears a few of them, not each one queued behind the others.
etapes=$(spoken | sed -n "$((heard + 1)),\$p" | grep -c '^barrage')
((etapes < 55)) || fail "la longue recherche automatique dit $etapes de ses 110 étapes"
within 8 "$depart" "$(spoken_at "$fin")" || fail "la fin de la longue recherche automatique tarde"
alive "après la longue recherche"

# A message box is read whole.
printf '# Pas un texte\n' > "$work/notes.md"
keys "vers le bouton d'ouverture" shift+Tab shift+Tab shift+Tab
said "vers le bouton d'ouverture" "Ouvrir un fichier push button"
xdotool key Return
type_name notes.md
said "le message d'erreur" "« notes.md » n'est pas un fichier texte (.txt)."
keys "fermer le message" Return
said "fermer le message" "Ouvrir un fichier push button"
alive "après le message"
# ORCA_TOUT_DIRE=1 shows all that Orca said.
[[ -n "${ORCA_TOUT_DIRE:-}" ]] && spoken
echo "orca : tout est bon"
