#!/usr/bin/env bash
# Runs the Windows programs of one MinGW build (32- or 64-bit) under a fresh private Wine prefix of
# the same architecture and prints one PASS or FAIL line per check, then "RESULT n passed, n failed".
# Usage: wine-tests.sh MINGW_BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-env.sh"
WORK="$BUILD/wine-run"
rm -rf "$WORK" && mkdir -p "$WORK"
# wineserver and Xvfb are stopped on every way out, also when the run is interrupted.
trap wine_env_stop EXIT
trap 'exit 130' INT TERM HUP
if ! wine_env_start "$WORK" "$(wine_arch_of "$BUILD")"; then
    echo "FAIL Wine: $WINE_ENV_WHY"
    echo "RESULT 0 passed, 1 failed"
    exit 1
fi
cd "$WORK"

. "$ROOT/tests/lib/checks.sh"

TOOL="$BUILD/trivo-make.exe"
start=$(date +%s)

# The console tool: verdicts, code page 1252 arguments, the codec's exact bytes and its failures.
check "trivo-make.exe judge" "Trop court" "$("$TRIVO_WINE" "$TOOL" judge "TOUR EIFFEL" "tour eif" 2>/dev/null | tr -d '\r')"
check "trivo-make.exe judge accented" "yade lidée" \
    "$("$TRIVO_WINE" "$TOOL" judge "Très grand château fort" "tres grand chateau fart" 2>/dev/null | tr -d '\r')"
printf 'abc' >abc.txt
"$TRIVO_WINE" "$TOOL" pack abc.txt abc.lzw >/dev/null 2>&1
check "trivo-make.exe pack abc" "30 98 8c 70 00" "$(od -An -tx1 abc.lzw 2>/dev/null | xargs)"
"$TRIVO_WINE" "$TOOL" unpack abc.lzw abc.out >/dev/null 2>&1
check "trivo-make.exe unpack" "abc" "$(cat abc.out 2>/dev/null)"
printf '\x30\x98' >bad.lzw
"$TRIVO_WINE" "$TOOL" unpack bad.lzw bad.out >/dev/null 2>err.txt
code=$?
check "trivo-make.exe unpack corrupt: exit 1, no output" "1 no" "$code $([ -e bad.out ] && echo yes || echo no)"

# The GoogleTest programs of tests/win: one PASS or FAIL line per test, and a FAIL line for a program
# that crashes, hangs or fails without naming a failed test. Each runs in a folder of its own, since
# the player writes its files in the current directory; Wine's output goes to files (its helper
# processes would hold a pipe open).
PROGRAM_TIMEOUT=${TRIVO_WINE_TEST_TIMEOUT:-120}
run_gtest_program() {
    local exe=$1 name log code
    name=$(basename "$exe" .exe)
    mkdir -p "$WORK/$name"
    log="$WORK/$name/output.txt"
    (cd "$WORK/$name" && timeout -k 5 "$PROGRAM_TIMEOUT" "$TRIVO_WINE" "$exe" >"$log" 2>&1)
    code=$?
    tr -d '\r' <"$log" >"$log.tmp" && mv "$log.tmp" "$log"
    local line ok=0 failed=0 summary_passed summary_failed
    while IFS= read -r line; do
        if [[ $line =~ ^\[\ \ \ \ \ \ \ OK\ \]\ ([^ ]+)\ \([0-9]+\ ms\)$ ]]; then
            echo "PASS $name: ${BASH_REMATCH[1]}"
            ok=$((ok + 1))
        elif [[ $line =~ ^\[\ \ FAILED\ \ \]\ ([^ ,]+).*\ \([0-9]+\ ms\)$ ]]; then
            echo "FAIL $name: ${BASH_REMATCH[1]} (output in $log)"
            failed=$((failed + 1))
        fi
    done <"$log"
    CHECKS_PASSED=$((CHECKS_PASSED + ok))
    CHECKS_FAILED=$((CHECKS_FAILED + failed))
    summary_passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' "$log")
    summary_failed=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:$/\1/p' "$log")
    if [ -z "$summary_passed" ] || [ "$summary_passed" != "$ok" ] || [ "${summary_failed:-0}" != "$failed" ] ||
        { [ "$code" -ne 0 ] && [ "$failed" -eq 0 ]; } || { [ "$code" -eq 0 ] && [ "$failed" -ne 0 ]; }; then
        local why="exit code $code"
        [ "$code" -eq 124 ] || [ "$code" -eq 137 ] && why="timed out after $PROGRAM_TIMEOUT s"
        [ -z "$summary_passed" ] && why="$why, no GoogleTest summary"
        local running
        running=$(grep -E '^\[ RUN      \] ' "$log" | tail -n 1 | sed -E 's/^\[ RUN      \] //')
        echo "FAIL $name: $why${running:+, last test started: $running}"
        CHECKS_FAILED=$((CHECKS_FAILED + 1))
    fi
    if [ "$code" -ne 0 ]; then
        echo "--- last lines of $log"
        tail -n 40 "$log"
        # A program that hung or crashed may leave Wine processes behind; the next one starts clean.
        wineserver -k >/dev/null 2>&1
    fi
}

for exe in "$BUILD"/tests/win/*_test.exe; do
    [ -e "$exe" ] || continue
    program_start=$(date +%s)
    run_gtest_program "$exe"
    echo "$(basename "$exe") took $(($(date +%s) - program_start)) s"
done

# run_check_script SCRIPT: a script of tests/win that prints PASS and FAIL lines itself; a script that
# ends badly without naming a failed check counts as one failure.
run_check_script() {
    local script=$1 log="$WORK/$(basename "$1" .sh).txt" code line failed=0
    bash "$ROOT/tests/win/$script" "$BUILD" >"$log" 2>&1
    code=$?
    while IFS= read -r line; do
        echo "$line"
        case $line in
        PASS\ *) CHECKS_PASSED=$((CHECKS_PASSED + 1)) ;;
        FAIL\ *) CHECKS_FAILED=$((CHECKS_FAILED + 1)) failed=$((failed + 1)) ;;
        esac
    done <"$log"
    if [ "$code" -ne 0 ] && [ "$failed" -eq 0 ]; then
        echo "FAIL $script: exit code $code (output in $log)"
        CHECKS_FAILED=$((CHECKS_FAILED + 1))
    fi
    wineserver -k >/dev/null 2>&1
}

# Exit codes of the real player, started as a user would start it.
run_check_script exit_codes.sh
# The sample quiz played with real X input: answers saved at close, restored and judged at the next start.
run_check_script end_to_end.sh
# A quiz program made by the native trivo-make from a starter folder starts and shows its title.
run_check_script starter_quiz.sh
# trivo-make.exe speaks French to French users, with the catalogue it carries.
run_check_script languages.sh

# How long a player waits (F1, Tab, start-up): the play benchmark's short run, for its figures; the
# check is only that it runs to its end. The full run: play_bench.exe with no --short.
if [ -e "$BUILD/tests/win/play_bench.exe" ]; then
    (cd "$BUILD/tests/win" && timeout -k 5 300 "$TRIVO_WINE" play_bench.exe --short bench_text_90.exe bench_text_1.exe \
        >"$WORK/play_bench.txt" 2>&1)
    tr -d '\r' <"$WORK/play_bench.txt"
    check "play_bench.exe --short: every figure measured" "1" "$(grep -c '^Start-up, 90-question' "$WORK/play_bench.txt")"
    wineserver -k >/dev/null 2>&1
fi

echo "wine checks took $(($(date +%s) - start)) s"
echo "RESULT $CHECKS_PASSED passed, $CHECKS_FAILED failed"
[ "$CHECKS_FAILED" -eq 0 ]
