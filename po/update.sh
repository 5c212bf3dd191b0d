#!/usr/bin/env bash
# Brings the catalogues up to date with the sources: extracts trivo-make.pot from the messages
# marked with tr(), ntr() and N_() in tools/, then merges it into each LANG.po (new messages come in
# untranslated, changed ones fuzzy: translate them, remove the fuzzy mark, and run this again).
# With --check OUT, writes the template to OUT only, for the test that compares it.
set -euo pipefail
cd "$(dirname "$0")/.."
out=po/trivo-make.pot
if [ "${1:-}" = --check ]; then out=$2; fi
# File names only, without line numbers: moving a message within its file changes nothing here.
# No message is a printf format: a percentage in one ("70 %") is text.
find tools -name '*.cpp' | LC_ALL=C sort |
    xgettext --files-from=- --output="$out" --language=C++ --from-code=UTF-8 --add-location=file \
        --keyword= --keyword=tr --keyword=ntr:1,2 --keyword=N_ --add-comments=TRANSLATORS: \
        --flag=N_:1:no-c-format --flag=tr:1:no-c-format --flag=ntr:1:no-c-format --flag=ntr:2:no-c-format \
        --package-name=trivo-make --msgid-bugs-address=maintainers@trivo.invalid
if [ "${1:-}" = --check ]; then exit 0; fi
for po in po/*.po; do
    msgmerge --quiet --update --backup=none --add-location=file "$po" "$out"
done
