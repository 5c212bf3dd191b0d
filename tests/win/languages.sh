#!/usr/bin/env bash
# trivo-make.exe in the user's language under Wine. Prints one PASS or FAIL line per check.
# Usage: languages.sh MINGW_BUILD_DIR (Wine environment already started).
#  - With a French LANG, check prints the very lines the native trivo-make prints in French, accents
#    and guillemets as UTF-8 bytes; with LANG=C, the English ones. The catalogue is the one inside the
#    program: nothing of share/locale/ is beside it.
#  - help build is French with a French LANG.
set -u
BUILD=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK="$BUILD/languages-run"
rm -rf "$WORK" && mkdir -p "$WORK"
cd "$WORK" || exit 1
. "$ROOT/tests/lib/checks.sh"
. "$ROOT/tests/lib/faulty_quiz.sh"
NATIVE_TOOL=$(sed -n 's/^TRIVO_NATIVE_TOOL:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
if [ -z "$NATIVE_TOOL" ] || [ ! -x "$NATIVE_TOOL" ]; then
    echo "FAIL languages: needs the native trivo-make ($NATIVE_TOOL)"
    exit 0
fi
cp "$BUILD/trivo-make.exe" .
write_faulty_quiz q

for lang in fr_FR.UTF-8 C; do
    LANG=$lang "$NATIVE_TOOL" check q >native.out 2>native.err
    LANG=$lang "$TRIVO_WINE" trivo-make.exe check q >wine.out 2>wine.err
    check "trivo-make.exe check under LANG=$lang: the native tool's lines" \
        "$(cat native.out)|$(cat native.err)" "$(tr -d '\r' <wine.out)|$(tr -d '\r' <wine.err)"
done
check "trivo-make.exe check under a French LANG: in French" "q/quiz.toml : 6 erreurs, 9 avertissements, 1 remarque" \
    "$(LANG=fr_CA.UTF-8 "$TRIVO_WINE" trivo-make.exe check q 2>/dev/null | tr -d '\r')"
check "trivo-make.exe help build under a French LANG" \
    "Utilisation : trivo-make build DOSSIER [-o SORTIE.exe] [--player LECTEUR.exe]" \
    "$(LANG=fr "$TRIVO_WINE" trivo-make.exe help build 2>&1 | head -n 1 | tr -d '\r')"
