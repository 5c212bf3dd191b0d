#!/usr/bin/env bash
# The catalogues are complete: the template is what po/update.sh extracts from the sources today,
# and every language translates every message of it, none fuzzy. Usage: catalogues_test.sh
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Its creation date is the only line that changes from one extraction to the next.
dated() { grep -v '^"POT-Creation-Date: ' "$1"; }
"$ROOT/po/update.sh" --check "$WORK/trivo-make.pot" || fail "xgettext could not extract the template"
if ! diff <(dated "$ROOT/po/trivo-make.pot") <(dated "$WORK/trivo-make.pot") >"$WORK/template.diff"; then
    fail "po/trivo-make.pot is out of date with the sources: run po/update.sh, then translate what it adds"
    head -n 20 "$WORK/template.diff"
fi
for po in "$ROOT"/po/*.po; do
    # msgcmp counts a message untranslated or fuzzy in the translation as missing from it.
    msgcmp "$po" "$WORK/trivo-make.pot" 2>"$WORK/msgcmp.txt" || { fail "$(basename "$po") is not complete"; head -n 20 "$WORK/msgcmp.txt"; }
    grep -q '^#, fuzzy' <(grep -v '^#~' "$po" | sed -n '/^msgid ""$/,$p' | tail -n +3) &&
        fail "$(basename "$po") holds fuzzy translations"
    msgfmt --check -o /dev/null "$po" 2>"$WORK/msgfmt.txt" || { fail "$(basename "$po") does not compile"; cat "$WORK/msgfmt.txt"; }
done
if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all checks passed"
