#!/usr/bin/env bash
# The 32-bit and the 64-bit player carry a quiz alike. Runs natively, no Wine needed. Prints one PASS or
# FAIL line per check. Usage: players_alike.sh NATIVE_BUILD MINGW32_BUILD MINGW64_BUILD
#  - The native tool's resource reader and writer take each real player: its own resources read,
#    a quiz written in, read back exactly, and the same bytes again when rewritten.
#  - Each sample quiz program, built by CMake over each player, dumps to the same quiz folder.
set -u
NATIVE=$(cd "$1" && pwd)
WORK="$NATIVE/players-alike-run"
rm -rf "$WORK" && mkdir -p "$WORK"

. "$(dirname "$0")/../lib/checks.sh"

for build in "$2" "$3"; do
    player="$build/app/trivo.exe"
    magic=$(od -An -tx2 -j "$(($(od -An -tu4 -j 60 -N 4 "$player") + 24))" -N 2 "$player" | tr -d ' ')
    name="$(basename "$build")/app/trivo.exe ($([ "$magic" = 020b ] && echo PE32+ || echo PE32))"
    TRIVO_PLAYER_EXE="$player" "$NATIVE/tests/native/pe_resources_test" --gtest_filter='RealPlayer.*' \
        >"$WORK/$(basename "$build").log" 2>&1
    check "$name: resources read, written and read back" "1" \
        "$(grep -c '^\[  PASSED  \] 1 test' "$WORK/$(basename "$build").log")"
done

for quiz in "$2"/examples/*.exe; do
    name=$(basename "$quiz" .exe)
    "$NATIVE/trivo-make" dump "$quiz" -o "$WORK/$name-32" >/dev/null 2>&1
    "$NATIVE/trivo-make" dump "$3/examples/$name.exe" -o "$WORK/$name-64" >/dev/null 2>&1
    check "$name: both programs dump to the same folder" "same" \
        "$([ -f "$WORK/$name-32/quiz.toml" ] &&
            diff -r "$WORK/$name-32" "$WORK/$name-64" >"$WORK/$name.diff" 2>&1 && echo same || echo different)"
done
