#!/usr/bin/env bash
# The bash completion offers the commands and options of the tool's own help, and the paths each
# argument takes. Usage: trivo_make_completion_test.sh TOOL COMPLETION
set -u
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
# shellcheck source=tools/cli/trivo-make.bash-completion
. "$2"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0
expect() {  # NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then echo "FAIL: $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}
offered() {  # WORDS...: what completing the last word offers, sorted, on one line
  COMP_WORDS=(trivo-make "$@") COMP_CWORD=$#
  _trivo_make
  [ "${#COMPREPLY[@]}" -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ' -
}

commands=$("$TOOL" --help | sed -n '/^Commands:$/,/^$/s/^  \([a-z]*\) .*/\1/p' | sort -u | paste -sd ' ' -)
expect "commands" "--help --version $commands" "$(offered "")"
for command in $commands; do
  [ "$command" = help ] && continue
  expect "$command options" "$("$TOOL" "$command" --help | sed -n '/^Options:$/,/^$/p' |
    grep -oE '^  (-[a-z], )?-[-a-z]+' | sed 's/.*[ ,]//' | sort | paste -sd ' ' -)" "$(offered "$command" -)"
done
mkdir "mon quiz" && touch a.exe B.EXE notes.txt
expect "paths" "picture|B.EXE a.exe mon quiz|mon quiz|B.EXE a.exe mon quiz notes.txt" \
  "$(offered new q --kind p)|$(offered build q --player "")|$(offered dump a.exe -o "")|$(offered pack "")"
[ "$failures" -eq 0 ] && echo "trivo_make_completion_test: all checks passed"
