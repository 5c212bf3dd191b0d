#!/usr/bin/env bash
# Runs the Windows builds under a fresh private Wine prefix and prints one PASS or FAIL line per
# check, then "RESULT n passed, n failed". Usage: wine-tests.sh MINGW_BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-env.sh"
WORK="$BUILD/wine-run"
rm -rf "$WORK" && mkdir -p "$WORK"
wine_env_start "$WORK"
trap wine_env_stop EXIT
cd "$WORK"

pass=0
fail=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "PASS $1"
        pass=$((pass + 1))
    else
        echo "FAIL $1: expected [$2], got [$3]"
        fail=$((fail + 1))
    fi
}

TOOL="$BUILD/trivo-make.exe"
start=$(date +%s)

# The console tool: verdicts, code page 1252 arguments, the codec's exact bytes and its failures.
check "trivo-make.exe judge" "Trop court" "$(wine "$TOOL" judge "TOUR EIFFEL" "tour eif" 2>/dev/null | tr -d '\r')"
check "trivo-make.exe judge accented" "yade lidée" \
    "$(wine "$TOOL" judge "Très grand château fort" "tres grand chateau fart" 2>/dev/null | tr -d '\r')"
printf 'abc' >abc.txt
wine "$TOOL" pack abc.txt abc.lzw >/dev/null 2>&1
check "trivo-make.exe pack abc" "30 98 8c 70 00" "$(od -An -tx1 abc.lzw 2>/dev/null | xargs)"
wine "$TOOL" unpack abc.lzw abc.out >/dev/null 2>&1
check "trivo-make.exe unpack" "abc" "$(cat abc.out 2>/dev/null)"
printf '\x30\x98' >bad.lzw
wine "$TOOL" unpack bad.lzw bad.out >/dev/null 2>err.txt
code=$?
check "trivo-make.exe unpack corrupt: exit 1, no output" "1 no" "$code $([ -e bad.out ] && echo yes || echo no)"

echo "wine checks took $(($(date +%s) - start)) s"
echo "RESULT $pass passed, $fail failed"
[ "$fail" -eq 0 ]
