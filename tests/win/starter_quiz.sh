#!/usr/bin/env bash
# The authoring tool end to end under Wine. Prints one PASS or FAIL line per check.
# Usage: starter_quiz.sh MINGW_BUILD_DIR (Wine environment and Xvfb already started, DISPLAY set).
#  - The native trivo-make (the MinGW tree's TRIVO_NATIVE_TOOL) writes a starter picture folder and
#    builds it over the MinGW player; the program starts, its main window shows the quiz's title,
#    and it closes with exit code 0 when asked to.
#  - The MinGW trivo-make.exe checks the same folder and builds the very same program bytes.
#  - trivo-make play opens the quiz as players see it: the native tool with Wine's loader, the MinGW
#    tool inside Wine with CreateProcess; each waits for the window to close, ends with exit code 0
#    and removes its temporary folder.
set -u
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK="$BUILD/starter-quiz-run"
rm -rf "$WORK" && mkdir -p "$WORK"
cd "$WORK" || exit 1
. "$ROOT/scripts/wine-env.sh"

PLAYER="$BUILD/app/trivo.exe"
NATIVE_TOOL=$(sed -n 's/^TRIVO_NATIVE_TOOL:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
TITLE="Mon quiz en images"

. "$ROOT/tests/lib/checks.sh"

if [ -z "$NATIVE_TOOL" ] || [ ! -x "$NATIVE_TOOL" ] || [ ! -f "$PLAYER" ]; then
    echo "FAIL starter quiz: needs the native trivo-make ($NATIVE_TOOL) and $PLAYER"
    exit 0
fi

"$NATIVE_TOOL" new starter --kind picture >new.out 2>&1
"$NATIVE_TOOL" build starter -o starter.exe --player "$PLAYER" >build.out 2>&1
check "trivo-make new + build: starter.exe written" "wrote starter.exe: picture quiz, 3 questions, 6 media files" \
    "$(cat build.out)"

"$(wine_compiler "$(wine_arch_of "$BUILD")")" -O2 -o close_main_window.exe "$ROOT/tests/win/close_main_window.c" -static \
    2>helper-build.log
mkdir -p play
(cd play && timeout 60 "$TRIVO_WINE" ../starter.exe >../player.out 2>&1; echo $? >../player.rc) &
window=""
for _ in $(seq 1 150); do
    window=$(xdotool search --name "^$TITLE\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
done
check "starter.exe: main window titled '$TITLE'" "$TITLE" \
    "$([ -n "$window" ] && xdotool getwindowname "$window" 2>/dev/null)"
timeout 60 "$TRIVO_WINE" close_main_window.exe 30 >helper.out 2>&1
check "starter.exe: closed without any message box" "closed main window after 0 message boxes" \
    "$(tr -d '\r' <helper.out)"
while [ ! -f player.rc ]; do sleep 0.2; done
check "starter.exe: exit code 0" "0" "$(cat player.rc)"
wineserver -k >/dev/null 2>&1

# play_and_close NAME TEMP COMMAND...: runs COMMAND (a trivo-make play) in the background, closes
# the quiz window it opens, and checks its exit code, its summary and that no temporary folder of
# play is left under TEMP.
play_and_close() {
    local name=$1 temp=$2
    shift 2
    rm -f play.rc
    ("$@" >play.out 2>play.err; echo $? >play.rc) &
    local window=""
    for _ in $(seq 1 150); do
        window=$(xdotool search --name "^$TITLE\$" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.2
    done
    timeout 60 "$TRIVO_WINE" close_main_window.exe 30 >helper.out 2>&1
    for _ in $(seq 1 300); do [ -f play.rc ] && break; sleep 0.2; done
    check "$name: exit code 0 once the window is closed" "0" "$(cat play.rc 2>/dev/null)"
    check "$name: summary" "played starter: picture quiz, 3 questions, 6 media files" "$(tr -d '\r' <play.out)"
    check "$name: its temporary folder is removed" "" "$(find "$temp" -maxdepth 5 -name 'trivo-play*' 2>/dev/null)"
    wineserver -k >/dev/null 2>&1
}
# Wine keeps its server's socket under TMPDIR: the helper and wineserver -k must see the same one.
(
    export TMPDIR="$WORK/tmp"
    mkdir -p "$TMPDIR"
    # The native tool starts a 64-bit player through the loader that refuses 32-bit programs, as the suite does.
    export WINE_LOADER_WIN64="$ROOT/scripts/wine64-only.sh"
    play_and_close "trivo-make play (native, with Wine)" "$TMPDIR" "$NATIVE_TOOL" play starter --player "$PLAYER"
)
play_and_close "trivo-make.exe play (inside Wine)" "$WINEPREFIX/drive_c/users" \
    "$TRIVO_WINE" "$BUILD/trivo-make.exe" play starter --player ../app/trivo.exe

# The MinGW build of the tool reads the same folder and writes the same bytes.
check "trivo-make.exe check starter" "starter/quiz.toml: 0 errors, 0 warnings (picture quiz, 3 questions, 6 media files)" \
    "$("$TRIVO_WINE" "$BUILD/trivo-make.exe" check starter 2>/dev/null | tr -d '\r')"
"$TRIVO_WINE" "$BUILD/trivo-make.exe" build starter -o starter-win.exe --player ../app/trivo.exe >build-win.out 2>&1
check "trivo-make.exe build: the same program as the native tool" "same" \
    "$(cmp -s starter.exe starter-win.exe && echo same || echo different)"
wineserver -k >/dev/null 2>&1 || true
