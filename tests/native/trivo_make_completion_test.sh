#!/usr/bin/env bash
# The bash completion of trivo-make: it offers the commands and options the tool's help lists, and
# the folders and files each argument takes. Usage: trivo_make_completion_test.sh TOOL COMPLETION
set -u
TOOL=${1:?usage: trivo_make_completion_test.sh PATH_TO_TRIVO_MAKE COMPLETION_FILE}
TOOL=$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")  # the checks run in a scratch folder
# shellcheck source=tools/cli/trivo-make.bash-completion
. "${2:?usage: trivo_make_completion_test.sh PATH_TO_TRIVO_MAKE COMPLETION_FILE}"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0

expect() {  # NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

# complete_line WORDS...: what completing the last word offers, sorted, one line.
complete_line() {
  COMP_WORDS=(trivo-make "$@")
  COMP_CWORD=$#
  _trivo_make
  [ "${#COMPREPLY[@]}" -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ' -
}

# The commands and each command's options are those of the tool's own help.
commands=$("$TOOL" --help | sed -n '/^Commands:$/,/^$/s/^  \([a-z]*\) .*/\1/p' | sort -u | paste -sd ' ' -)
expect "commands" "--help --version $commands" "$(complete_line "")"
for command in $commands; do
  [ "$command" = help ] && continue
  options=$("$TOOL" "$command" --help | sed -n '/^Options:$/,/^$/p' | grep -oE '^  (-[a-z], )?-[-a-z]+' |
    sed 's/.*, //; s/^ *//' | sort | paste -sd ' ' -)
  expect "$command options" "$options" "$(complete_line "$command" -)"
done
expect "help COMMAND" "build" "$(complete_line help bu)"
expect "--kind" "picture" "$(complete_line new q --kind p)"

# Paths: folders everywhere, programs where a program is read or written, any file for the codec.
mkdir "mon quiz" media
touch a.exe B.EXE notes.txt
expect "build DIR" "media mon quiz" "$(complete_line build "")"
expect "build --player" "B.EXE a.exe media mon quiz" "$(complete_line build q --player "")"
expect "play" "B.EXE a.exe media mon quiz" "$(complete_line play "")"
expect "dump -o DIR" "media mon quiz" "$(complete_line dump a.exe -o "")"
expect "pack IN" "B.EXE a.exe media mon quiz notes.txt" "$(complete_line pack "")"

if [ "$failures" -ne 0 ]; then
  echo "trivo_make_completion_test: $failures check(s) failed"
  exit 1
fi
echo "trivo_make_completion_test: all checks passed"
