#!/usr/bin/env bash
# The sample quiz program played end to end under Wine with real X input, as a user would: start it in
# an empty folder, click into three answer fields and type two right answers and a wrong one, close
# with Alt+F4, check the answers file, start again and check that the texts, verdicts, score and code
# came back; correct the wrong answer, close by a WM_CLOSE from another program, and check the file and
# the score once more; start a third time, Tab to the fourth field, answer it and close again.
# Prints one PASS or FAIL line per check.
# Usage: end_to_end.sh MINGW_BUILD_DIR (Wine environment already started, or started here).
# Screenshots during play and after reopening are saved in the run folder, and copied into
# $TRIVO_E2E_SCREENSHOTS (as e2e-play.png and e2e-reopen.png) when that is set.
set -u
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK="$BUILD/end-to-end-run"
rm -rf "$WORK" && mkdir -p "$WORK/play"
STARTED_HERE=""
. "$ROOT/scripts/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ]; then
    wine_env_start "$WORK" "$(wine_arch_of "$BUILD")" || { echo "FAIL $(basename "$0"): $WINE_ENV_WHY"; exit 1; }
    STARTED_HERE=1
fi

QUIZ="$BUILD/examples/drapeaux.exe"
HELPER="$WORK/quiz_window.exe"
NAME="drapeaux.exe end to end"
PLAYER_PID=""

# Whatever happens, the player this script started does not outlive it.
stop_player() {
    if [ -n "$PLAYER_PID" ] && kill -0 "$PLAYER_PID" 2>/dev/null; then
        kill "$PLAYER_PID" 2>/dev/null
        wait "$PLAYER_PID" 2>/dev/null
    fi
    PLAYER_PID=""
}
finish() {
    stop_player
    if [ -n "$STARTED_HERE" ]; then wine_env_stop; fi
}
trap finish EXIT
trap 'exit 130' INT TERM HUP

. "$ROOT/tests/lib/checks.sh"
CHECK_PREFIX="$NAME: "

# The helper looks at the player from outside; every run has a time limit. Output goes to files:
# Wine's helper processes keep pipes open.
helper() {
    timeout -k 5 30 "$TRIVO_WINE" "$HELPER" "$@" >"$WORK/helper.out" 2>&1
    tr -d '\r' <"$WORK/helper.out"
}

# The player in the play folder (its answers file is written in the current directory), at most
# 60 seconds; run number $1 keeps its own log.
start_player() {
    (cd "$WORK/play" && exec timeout -k 5 60 "$TRIVO_WINE" "$QUIZ") >"$WORK/player-$1.out" 2>&1 &
    PLAYER_PID=$!
}

# Waits up to 20 s for the player to end and sets PLAYER_STATUS to its exit status, or to "still
# running" after stopping it. Not called in $(...): only this shell can wait for its own child.
wait_for_player() {
    local tries=0
    while kill -0 "$PLAYER_PID" 2>/dev/null && [ $tries -lt 100 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
    if kill -0 "$PLAYER_PID" 2>/dev/null; then
        stop_player
        PLAYER_STATUS="still running"
        return
    fi
    wait "$PLAYER_PID"
    PLAYER_STATUS=$?
    PLAYER_PID=""
}

# The player clicks into answer field K (found on the screen by the helper) and types TEXT.
type_into() {  # type_into K TEXT
    local at
    at=$(helper field "$1")
    [ -n "$at" ] || return
    # shellcheck disable=SC2086
    xdotool mousemove $at click 1
    sleep 0.3
    xdotool key End shift+Home
    xdotool type --delay 30 "$2"
}

# Leaving the last field judges it: click into field K.
click_field() {
    local at
    at=$(helper field "$1")
    # shellcheck disable=SC2086
    [ -n "$at" ] && xdotool mousemove $at click 1
    sleep 0.5
}

texts() {  # texts ID...: the controls' texts, each in brackets
    local id out=""
    for id in "$@"; do out="$out$(helper text "$id")"; done
    echo "$out"
}

screenshot() {  # screenshot NAME
    import -window root "$WORK/$1.png" >/dev/null 2>&1
    if [ -n "${TRIVO_E2E_SCREENSHOTS:-}" ]; then cp "$WORK/$1.png" "$TRIVO_E2E_SCREENSHOTS/e2e-$1.png"; fi
    echo "screenshot: $WORK/$1.png"
}

# The answers file as one line of octal escapes, so CR LF and "*" are compared exactly.
file_bytes() { [ -f "$1" ] && od -An -c "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' || echo "no file"; }
expected_bytes() { printf '%b' "$1" >"$WORK/expected.txt" && file_bytes "$WORK/expected.txt"; }
# Every name in the play folder: a temporary file left behind would show here.
folder_names() { find "$WORK/play" -mindepth 1 -printf '%f\n' | sort | paste -sd ' '; }

"$(wine_compiler "$(wine_arch_of "$BUILD")")" -O2 -o "$HELPER" "$ROOT/tests/win/quiz_window.c" -static 2>"$WORK/helper-build.log"
if [ ! -f "$HELPER" ]; then
    echo "FAIL $NAME: quiz_window.exe does not build (see $WORK/helper-build.log)"
    exit 0
fi
if [ ! -f "$QUIZ" ]; then
    echo "FAIL $NAME: $QUIZ is missing (configure the MinGW tree with TRIVO_NATIVE_TOOL)"
    exit 0
fi
ANSWERS="$WORK/play/drapeaux.txt"

# First start, in an empty folder: no answers yet.
start_player 1
check "first start: window shown" "ready" "$(helper wait 30)"
check "first start: empty fields, score 0" "[][][][ 0 / 6]" "$(texts 4001 4002 4003 150)"

type_into 1 "France"
type_into 2 "italie"
type_into 3 "Perou"
click_field 1
check "typed answers judged: texts, verdicts" "[France][italie][Perou][BRAVO][BRAVO][FAUX]" \
    "$(texts 4001 4002 4003 5001 5002 5003)"
check "typed answers judged: score and code" "[ 2 / 6][CARMIN]" "$(texts 150 157)"
screenshot play

# Alt+F4 reaches the focused field, which leaves it to the main window's close.
xdotool key alt+F4
wait_for_player
check "closed with Alt+F4: exit code 0" "0" "$PLAYER_STATUS"
check "answers file after the first close: exact bytes" \
    "$(expected_bytes 'France\r\nitalie\r\nPerou\r\n*\r\n*\r\n*\r\n')" "$(file_bytes "$ANSWERS")"
check "nothing but the answers file left in the folder" "drapeaux.txt" "$(folder_names)"

# Second start: the answers come back and are judged again.
start_player 2
check "second start: window shown" "ready" "$(helper wait 30)"
check "second start: texts and verdicts restored" "[France][italie][Perou][][BRAVO][BRAVO][FAUX][?]" \
    "$(texts 4001 4002 4003 4004 5001 5002 5003 5004)"
check "second start: score and code restored" "[ 2 / 6][CARMIN]" "$(texts 150 157)"
screenshot reopen

# The wrong answer corrected, then a close request from another program.
type_into 3 "Allemagne"
click_field 1
check "corrected answer: verdict, score and code" "[BRAVO][ 3 / 6][ORIFLA]" "$(texts 5003 150 157)"
check "close request from another program" "closed" "$(helper close)"
wait_for_player
check "closed by WM_CLOSE: exit code 0" "0" "$PLAYER_STATUS"
check "answers file after the second close: exact bytes" \
    "$(expected_bytes 'France\r\nitalie\r\nAllemagne\r\n*\r\n*\r\n*\r\n')" "$(file_bytes "$ANSWERS")"
check "still nothing but the answers file in the folder" "drapeaux.txt" "$(folder_names)"

# Third start: the corrected score; then Tab from field 3 to field 4 (below the visible part of the
# page) and an answer typed there, judged when Tab leaves it.
start_player 3
check "third start: window shown" "ready" "$(helper wait 30)"
check "third start: score and code" "[ 3 / 6][ORIFLA]" "$(texts 150 157)"
click_field 3
xdotool key Tab
sleep 0.3
xdotool type --delay 30 "Japon"
xdotool key Tab
sleep 0.5
check "answer typed after Tab: text, verdict, score and code" "[Japon][BRAVO][ 4 / 6][SOLEIL]" \
    "$(texts 4004 5004 150 157)"
xdotool key alt+F4
wait_for_player
check "third close: exit code 0" "0" "$PLAYER_STATUS"
check "answers file after the third close: exact bytes" \
    "$(expected_bytes 'France\r\nitalie\r\nAllemagne\r\nJapon\r\n*\r\n*\r\n')" "$(file_bytes "$ANSWERS")"
