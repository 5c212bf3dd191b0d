#!/usr/bin/env bash
# The packages as a user gets them, each unpacked into a fresh folder. Prints one PASS, FAIL or SKIP
# line per check. Usage: package_test.sh PACKAGES_DIR WINE_BASE
#  - The Linux archive holds the layout trivo-make looks in, its manual page carries the version of
#    trivo-make --version, and from it `new` then `build` without --player make a quiz program that
#    `dump` reads back.
#  - The Debian package holds the same files under /usr, and its trivo-make builds the same program.
#  - The Windows archive holds the player (the Linux archive's very bytes), the tool, the sample
#    programs and folders, and the guide; under Wine its trivo-make.exe builds the same program as the
#    Linux tool, and that program opens its window and closes with exit code 0.
# The Wine checks run in the 32-bit prefix under WINE_BASE; TRIVO_NO_WIN32, when set, says why this
# machine cannot run them, and they are skipped.
set -u
PACKAGES=$(cd "$1" && pwd)
WINE_BASE=$(mkdir -p "$2" && cd "$2" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
TITLE="Mon quiz en images"
WINE_STARTED=""
finish() {
    if [ -n "$WINE_STARTED" ]; then wine_env_stop; fi
    rm -rf "$WORK"
}
trap finish EXIT
trap 'exit 130' INT TERM HUP

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then echo "PASS $1"; else echo "FAIL $1: expected [$2], got [$3]"; fi
}
lines() { sort | paste -sd ' ' -; }

# The sample folders as the source tree has them, relative to PREFIX (scripts excluded).
samples_under() {  # PREFIX
    (cd "$ROOT/examples" && find drapeaux capitales animaux formes -type f ! -name '*.sh') | sed "s|^|$1|"
}

version=$(ls "$PACKAGES" | sed -n 's/^trivo-\([0-9.]*\)-linux-x86_64\.tar\.gz$/\1/p')
tgz="$PACKAGES/trivo-$version-linux-x86_64.tar.gz"
zip="$PACKAGES/trivo-$version-win32.zip"
deb=$(ls "$PACKAGES"/trivo_"$version"_*.deb 2>/dev/null)
top="trivo-$version-linux-x86_64"

# ---- The Linux archive: its layout, then used from an empty folder.
mkdir -p "$WORK/linux" "$WORK/user"
tar xzf "$tgz" -C "$WORK/linux" 2>"$WORK/tar.err"
TOOL="$WORK/linux/$top/bin/trivo-make"
expected=$({
    printf '%s\n' bin/trivo-make share/bash-completion/completions/trivo-make share/doc/trivo/guide.md \
        share/man/man1/trivo-make.1.gz share/trivo/trivo.exe share/trivo/trivo64.exe
    samples_under share/trivo/examples/
} | lines)
check "Linux archive: its files" "$expected" "$(cd "$WORK/linux/$top" 2>/dev/null && find . -type f | sed 's|^\./||' | lines)"
check "Linux archive: name, --version and manual page carry one version" \
    "trivo-make $version|.TH TRIVO-MAKE \"1\" trivo-make $version" \
    "$("$TOOL" --version)|$(zcat "$WORK/linux/$top/share/man/man1/trivo-make.1.gz" | sed -n 's/^\(\.TH TRIVO-MAKE "1"\) "[^"]*" "\([^"]*\)".*/\1 \2/p')"

cd "$WORK/user" || exit 1
"$TOOL" new q --kind picture >new.out 2>&1
"$TOOL" build q -o q.exe >build.out 2>&1
"$TOOL" dump q.exe -o back >dump.out 2>&1
check "Linux archive: new, then build without --player, then dump reads the program back" \
    "wrote q.exe: picture quiz, 3 questions, 6 media files|same media" \
    "$(cat build.out)|$(diff -r q/media back/media >/dev/null 2>&1 && echo same media || echo different media)"

# ---- The Debian package: the same files under /usr, the same program from its trivo-make.
if [ -z "$deb" ]; then
    echo "FAIL Debian package: none in $PACKAGES"
else
    dpkg-deb -x "$deb" "$WORK/deb"
    "$WORK/deb/usr/bin/trivo-make" build q -o deb.exe >deb.out 2>&1
    check "Debian package: the archive's files under /usr; its trivo-make builds the same program" \
        "$expected|same" \
        "$(cd "$WORK/deb/usr" && find . -type f | sed 's|^\./||' | lines)|$(cmp -s q.exe deb.exe && echo same || cat deb.out)"
fi

# ---- The Windows archive.
mkdir -p "$WORK/windows"
(cd "$WORK/windows" && unzip -q "$zip")
WIN="$WORK/windows/trivo-$version-win32"
expected=$({
    printf '%s\n' trivo.exe trivo-make.exe guide.md examples/drapeaux.exe examples/capitales.exe \
        examples/animaux.exe examples/formes.exe
    samples_under examples/
} | lines)
check "Windows archive: its files; its player is the Linux archive's" "$expected|same" \
    "$(cd "$WIN" 2>/dev/null && find . -type f | sed 's|^\./||' | lines)|$(cmp -s "$WIN/trivo.exe" \
        "$WORK/linux/$top/share/trivo/trivo.exe" && echo same || echo different)"

WINE_CHECKS=("Windows archive: trivo-make.exe builds the same program under Wine"
    "Windows archive: the program opens under Wine and closes with exit code 0")
if [ -n "${TRIVO_NO_WIN32:-}" ]; then
    for name in "${WINE_CHECKS[@]}"; do echo "SKIP $name: $TRIVO_NO_WIN32"; done
    exit 0
fi
. "$ROOT/scripts/wine-env.sh"
WINE_STARTED=1  # also when the start fails half-way: wine_env_stop stops what it started
if ! wine_env_start "$WINE_BASE" win32; then
    for name in "${WINE_CHECKS[@]}"; do echo "FAIL $name: $WINE_ENV_WHY"; done
    exit 0
fi
mkdir -p "$WORK/wine" && cd "$WORK/wine" || exit 1
"$TRIVO_WINE" "$WIN/trivo-make.exe" new q --kind picture >new.out 2>&1
"$TRIVO_WINE" "$WIN/trivo-make.exe" build q -o q.exe >build.out 2>&1
check "${WINE_CHECKS[0]}" "same" "$(cmp -s q.exe "$WORK/user/q.exe" && echo same || tr -d '\r' <build.out)"

i686-w64-mingw32-gcc-posix -O2 -o close_main_window.exe "$ROOT/tests/win/close_main_window.c" -static
(timeout 60 "$TRIVO_WINE" q.exe >player.out 2>&1; echo $? >player.rc) &
shown=""
for _ in $(seq 1 150); do
    window=$(xdotool search --name "^$TITLE\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && shown=$(xdotool getwindowname "$window" 2>/dev/null) && break
    sleep 0.2
done
timeout 60 "$TRIVO_WINE" close_main_window.exe 30 >close.out 2>&1
for _ in $(seq 1 300); do [ -f player.rc ] && break; sleep 0.2; done
check "${WINE_CHECKS[1]}" "window '$TITLE'|closed main window after 0 message boxes|0" \
    "window '$shown'|$(tr -d '\r' <close.out)|$(cat player.rc 2>/dev/null)"
