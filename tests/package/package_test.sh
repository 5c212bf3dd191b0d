#!/usr/bin/env bash
# The packages as a user gets them, unpacked into fresh folders; one PASS, FAIL or SKIP line per check.
# Usage: package_test.sh PACKAGES_DIR WINE_BASE (its 32-bit prefix; TRIVO_NO_WIN32 says why the Wine
# checks are skipped, when they are).
set -u
PACKAGES=$(cd "$1" && pwd)
WINE_BASE=$(mkdir -p "$2" && cd "$2" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
WINE_STARTED=""
trap '[ -z "$WINE_STARTED" ] || wine_env_stop; rm -rf "$WORK"' EXIT
. "$ROOT/tests/lib/checks.sh"
# trivo-make's English, whatever the language of whoever runs the tests; one check asks for French.
unset LC_ALL LC_MESSAGES LANGUAGE
export LANG=C.UTF-8
files_in() { (cd "$1" 2>/dev/null && find . -type f | sed 's|^\./||' | sort | paste -sd ' ' -); }
same() { cmp -s "$1" "$2" && echo same || echo different; }
samples_under() { (cd "$ROOT/examples" && find drapeaux capitales animaux formes -type f ! -name '*.sh' | sed "s|^|$1|"); }

version=$(find "$PACKAGES" -maxdepth 1 -name 'trivo-*-linux-x86_64.tar.gz' -printf '%f\n' | sed 's/^trivo-\(.*\)-linux-x86_64.tar.gz$/\1/')
LINUX="$WORK/trivo-$version-linux-x86_64" WIN="$WORK/trivo-$version-win32"
tar xzf "$PACKAGES/trivo-$version-linux-x86_64.tar.gz" -C "$WORK"
(cd "$WORK" && unzip -q "$PACKAGES/trivo-$version-win32.zip")
dpkg-deb -x "$PACKAGES/trivo_${version}_amd64.deb" "$WORK/deb"
layout=$({ printf '%s\n' bin/trivo-make share/bash-completion/completions/trivo-make share/doc/trivo/guide.md \
    share/doc/trivo/guide.fr.md share/locale/fr/LC_MESSAGES/trivo-make.mo share/man/fr/man1/trivo-make.1.gz \
    share/man/man1/trivo-make.1.gz share/trivo/trivo.exe share/trivo/trivo64.exe; samples_under share/trivo/examples/; } |
    sort | paste -sd ' ' -)
check "Linux archive and Debian package: their files" "$layout|$layout" "$(files_in "$LINUX")|$(files_in "$WORK/deb/usr")"
check "Linux archive: --version and manual page of $version" "trivo-make $version|\"trivo-make $version\"" \
    "$("$LINUX/bin/trivo-make" --version)|$(zcat "$LINUX/share/man/man1/trivo-make.1.gz" | sed -n 's/^\.TH .* \("[^"]*"\) "User Commands"$/\1/p')"

mkdir "$WORK/user" && cd "$WORK/user" || exit 1
"$LINUX/bin/trivo-make" new q --kind picture >/dev/null 2>&1
"$LINUX/bin/trivo-make" build q -o q.exe >build.out 2>&1
"$LINUX/bin/trivo-make" dump q.exe -o back >/dev/null 2>&1
"$WORK/deb/usr/bin/trivo-make" build q -o deb.exe >/dev/null 2>&1
# The unpacked archive's and the package's tool find their French catalogue; the French manual page.
check "Linux archive and Debian package: trivo-make in French, and its French manual page" \
    "trivo-make : commande inconnue « chek » ; vouliez-vous dire « check » ?|\
trivo-make : commande inconnue « chek » ; vouliez-vous dire « check » ?|.SH NOM" \
    "$(LANG=fr "$LINUX/bin/trivo-make" chek 2>&1)|$(LANG=fr "$WORK/deb/usr/bin/trivo-make" chek 2>&1)|$(zcat \
    "$LINUX/share/man/fr/man1/trivo-make.1.gz" | grep -m1 '^\.SH NOM')"
check "Linux archive: new, build without --player, dump; the Debian package's tool builds the same" \
    "wrote q.exe: picture quiz, 3 questions, 6 media files|same media|same" \
    "$(cat build.out)|$(diff -r q/media back/media >/dev/null 2>&1 && echo same media)|$(same q.exe deb.exe)"
windows=$({ printf '%s\n' trivo.exe trivo-make.exe guide.md guide.fr.md 'Trivo Studio.cmd'; samples_under examples/;
    printf 'examples/%s.exe\n' drapeaux capitales animaux formes; } | sort | paste -sd ' ' -)
check "Windows archive: its files, the Linux archive's player" "$windows|same" \
    "$(files_in "$WIN")|$(same "$WIN/trivo.exe" "$LINUX/share/trivo/trivo.exe")"

BUILDS="Windows archive: trivo-make.exe builds the same program under Wine"
OPENS="Windows archive: the program opens under Wine and closes with exit code 0"
if [ -n "${TRIVO_NO_WIN32:-}" ]; then
    printf 'SKIP %s: %s\n' "$BUILDS" "$TRIVO_NO_WIN32" "$OPENS" "$TRIVO_NO_WIN32"
    exit 0
fi
. "$ROOT/scripts/wine-env.sh"
WINE_STARTED=1  # also when the start fails half-way: wine_env_stop stops what it started
wine_env_start "$WINE_BASE" win32 || { printf 'FAIL %s: %s\n' "$BUILDS" "$WINE_ENV_WHY" "$OPENS" "$WINE_ENV_WHY"; exit 0; }
mkdir "$WORK/wine" && cd "$WORK/wine" || exit 1
"$TRIVO_WINE" "$WIN/trivo-make.exe" new q --kind picture >/dev/null 2>&1
"$TRIVO_WINE" "$WIN/trivo-make.exe" build q -o q.exe >/dev/null 2>&1
check "$BUILDS" same "$(same q.exe "$WORK/user/q.exe")"
# The quiz program opens its main window, which is closed as its close box would.
i686-w64-mingw32-gcc-posix -O2 -static -o close_main_window.exe "$ROOT/tests/win/close_main_window.c"
(timeout 60 "$TRIVO_WINE" q.exe >/dev/null 2>&1; echo $? >player.rc) &
player=$!
timeout 60 "$TRIVO_WINE" close_main_window.exe 30 >close.out 2>&1
wait "$player"
check "$OPENS" "closed main window after 0 message boxes|0" "$(tr -d '\r' <close.out)|$(cat player.rc)"
