#!/usr/bin/env bash
# Exit codes of the real player under Wine, as a user would start it. Prints one PASS or FAIL line per
# check. Usage: exit_codes.sh MINGW_BUILD_DIR (Wine environment already started, or started here).
#  - The demo quiz (no quiz resources): its two loader boxes are answered and the window closed by
#    close_main_window.exe; the player exits 0, has written its answers file and removed trivo.mp3.
#    atl.dll is made unloadable for this run too: a quiz that is not Video must not need it.
#  - The same program under a name outside the ANSI code page still saves its answers at close.
#  - A Video quiz with atl.dll unloadable: exits 1 by itself, without any window.
set -u
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK="$BUILD/exit-codes-run"
rm -rf "$WORK" && mkdir -p "$WORK/run"
STARTED_HERE=""
. "$ROOT/scripts/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ]; then
    wine_env_start "$WORK" "$(wine_arch_of "$BUILD")" || { echo "FAIL $(basename "$0"): $WINE_ENV_WHY"; exit 1; }
    STARTED_HERE=1
fi

PLAYER="$BUILD/app/trivo.exe"
VIDEO_QUIZ="$BUILD/tests/win/video_exit_quiz.exe"
HELPER="$WORK/close_main_window.exe"

. "$ROOT/tests/lib/checks.sh"

# Runs a Windows program in the background with a time limit; its exit status is in $WORK/NAME.rc
# (124 when it had to be stopped). Output goes to files: Wine's helpers keep pipes open.
start_limited() {  # start_limited NAME SECONDS PROGRAM [ARGS...]
    local name=$1 seconds=$2
    shift 2
    (timeout "$seconds" "$TRIVO_WINE" "$@" >"$WORK/$name.out" 2>&1; echo $? >"$WORK/$name.rc") &
}

wait_for() {  # wait_for NAME: waits until NAME.rc exists, prints the status
    while [ ! -f "$WORK/$1.rc" ]; do sleep 0.2; done
    cat "$WORK/$1.rc"
}

"$(wine_compiler "$(wine_arch_of "$BUILD")")" -O2 -o "$HELPER" "$ROOT/tests/win/close_main_window.c" -static 2>"$WORK/helper-build.log"
if [ ! -f "$HELPER" ]; then
    echo "FAIL exit codes: close_main_window.exe does not build (see $WORK/helper-build.log)"
elif [ ! -f "$PLAYER" ]; then
    echo "FAIL exit codes: $PLAYER is missing"
else
    cd "$WORK/run"
    printf 'ID3' >trivo.mp3
    rm -f trivo.txt
    WINEDLLOVERRIDES="atl=d" start_limited player 60 "$PLAYER"
    start_limited helper 60 "$HELPER" 45
    helper=$(wait_for helper)
    player=$(wait_for player)
    check "trivo.exe demo quiz: helper found and closed the window" "0" "$helper"
    check "trivo.exe demo quiz: the two loader boxes were answered" \
        "closed main window after 2 message boxes" "$(tr -d '\r' <"$WORK/helper.out")"
    check "trivo.exe demo quiz, closed: exit code 0" "0" "$player"
    check "trivo.exe close: trivo.mp3 deleted" "gone" "$([ -e trivo.mp3 ] && echo present || echo gone)"
    # One "*" line (CR LF) per empty answer field.
    check "trivo.exe close: answers file of empty fields" "yes" \
        "$([ -s trivo.txt ] && ! tr -d '\r' <trivo.txt | grep -qv '^\*$' && echo yes || echo no)"
    cd "$WORK"
fi

# A program name outside the ANSI code page (here: Chinese) still gets its answers file: the old
# ANSI file functions saw "?" in its name and could save nothing.
if [ -f "$HELPER" ] && [ -f "$PLAYER" ]; then
    mkdir -p "$WORK/unicode" && cd "$WORK/unicode"
    cp "$PLAYER" "Réponses 中文.exe"
    rm -f ./*.txt "$WORK/helper.rc"
    WINEDLLOVERRIDES="atl=d" start_limited unicode 60 "$WORK/unicode/Réponses 中文.exe"
    start_limited helper 60 "$HELPER" 45
    wait_for helper >/dev/null
    wait_for unicode >/dev/null
    check "a program named outside the code page: its answers file written at close" "yes" \
        "$([ -s "Réponses 中文.txt" ] && echo yes || echo no)"
    cd "$WORK"
fi

if [ ! -f "$VIDEO_QUIZ" ]; then
    echo "FAIL exit codes: $VIDEO_QUIZ is missing (configure the MinGW tree with TRIVO_NATIVE_TOOL)"
else
    mkdir -p "$WORK/video" && cd "$WORK/video"
    WINEDLLOVERRIDES="atl=d" start_limited video 30 "$VIDEO_QUIZ"
    video=$(wait_for video)
    check "Video quiz without atl.dll: exit code 1, ended by itself" "1" "$video"
    cd "$WORK"
fi

if [ -n "$STARTED_HERE" ]; then wine_env_stop; fi
