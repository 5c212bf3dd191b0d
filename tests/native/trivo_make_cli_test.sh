#!/usr/bin/env bash
# trivo-make as a user runs it: exit codes, bytes written, messages. Usage: trivo_make_cli_test.sh TOOL
set -u
TOOL=${1:?usage: trivo_make_cli_test.sh PATH_TO_TRIVO_MAKE}
if [ ! -x "$TOOL" ]; then
  echo "FAIL: $TOOL is not an executable file"
  exit 1
fi
TOOL=$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")  # the checks run in a scratch folder
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect NAME EXPECTED ACTUAL
expect() {
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; fi
}

hex() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' | tr a-f A-F; }

# run ARGS...: sets status, out, err.
run() {
  "$TOOL" "$@" >stdout.txt 2>stderr.txt
  status=$?
  out=$(cat stdout.txt)
  err=$(cat stderr.txt)
}

# ---- pack: the exact bytes of known streams
printf 'abc' >abc
run pack abc abc.lzw
expect "pack abc status" 0 "$status"
expect "pack abc bytes" "30 98 8C 70 00" "$(hex abc.lzw)"
expect "pack abc stderr" "" "$err"

printf 'aaaaaaa' >seven
run pack seven seven.lzw
expect "pack aaaaaaa status" 0 "$status"
expect "pack aaaaaaa bytes" "30 C0 E0 86 18 00" "$(hex seven.lzw)"

# ---- round trip of a text with every byte value and repeats
{
  for i in $(seq 1 40); do printf 'Question %d : Quelle est la capitale ?\r\n' "$i"; done
  printf "$(printf '\\%03o' $(seq 0 255))"
} >quiz.txt
run pack quiz.txt quiz.lzw
expect "pack quiz status" 0 "$status"
run unpack quiz.lzw quiz.out
expect "unpack quiz status" 0 "$status"
if ! cmp -s quiz.txt quiz.out; then fail "unpack did not restore quiz.txt"; fi
if [ "$(stat -c %s quiz.lzw)" -ge "$(stat -c %s quiz.txt)" ]; then fail "quiz.lzw is not smaller than quiz.txt"; fi

# ---- failures: status line, exit 1, no output file
# a, b, c as 9-bit literals, then code 400, which no dictionary entry has yet.
printf '\x30\x98\x8C\x79\x00' >corrupt
run unpack corrupt corrupt.out
expect "unpack corrupt status" 1 "$status"
expect "unpack corrupt stderr" "trivo-make unpack: BadStream after 2 bytes" "$err"
expect "unpack corrupt stdout" "" "$out"
if ls corrupt.out* >/dev/null 2>&1; then fail "unpack of a corrupt stream left $(ls corrupt.out*)"; fi

: >empty
run pack empty empty.lzw
expect "pack empty status" 1 "$status"
expect "pack empty stderr" "trivo-make pack: NoInput" "$err"
if [ -e empty.lzw ]; then fail "pack of an empty file wrote empty.lzw"; fi

# ---- judge
run judge "TOUR EIFFEL" "tour eif"
expect "judge Trop court status" 0 "$status"
expect "judge Trop court" "Trop court" "$out"

# e acute is not folded to E acute: two substitutions.
run judge "été" "ÉTÉ"
expect "judge accents status" 0 "$status"
expect "judge accents" "Presque" "$out"

run judge "ABCDEFGHIJKLMNOP" "ABCDEFGHIJKLMXYZ"
expect "judge similar (UTF-8 output)" "yade lidée" "$out"

run judge "中" "x"
expect "judge CJK status" 2 "$status"
expect "judge CJK stdout" "" "$out"
expect "judge CJK stderr" "trivo-make judge: expected answer: U+4E2D '中' at offset 0 is not in code page 1252" "$err"

printf 'TOUR EIFFEL\ttour eif\r\nParis\t  paris \n\xc3\xa9t\xc3\xa9\t\xc3\x89T\xc3\x89\n' >lines.tsv
"$TOOL" judge <lines.tsv >stdout.txt 2>stderr.txt
expect "judge lines status" 0 "$?"
expect "judge lines" "$(printf 'Trop court\nBRAVO\nPresque')" "$(cat stdout.txt)"

# ---- help and usage errors
run --help
expect "--help status" 0 "$status"
case "$out" in *"pack IN OUT"*"unpack IN OUT"*"judge EXPECTED TYPED"*) ;; *) fail "--help does not list the commands: $out" ;; esac
run compress abc
expect "unknown command status" 2 "$status"
expect "unknown command stderr" "trivo-make: unknown command 'compress'; see 'trivo-make --help'" "$err"
if [ "$failures" -ne 0 ]; then
  echo "trivo_make_cli_test: $failures check(s) failed"
  exit 1
fi
echo "trivo_make_cli_test: all checks passed"
