#!/usr/bin/env bash
# Makes Trivo's packages: installs what is missing, builds the native tree and the two MinGW trees of
# CMakePresets.json, then packs them with CPack:
#   trivo-VERSION-linux-x86_64.tar.gz and trivo_VERSION_amd64.deb   from the native tree (trivo-make,
#                                                                   both players, samples, guide, manual
#                                                                   page, bash completion)
#   trivo-VERSION-win32.zip                                         from the 32-bit tree (trivo.exe,
#                                                                   trivo-make.exe, samples, guide)
# and prints the path of each. The same sources give the same bytes. TRIVO_BUILD_DIR moves the build
# trees (default build/); the packages go into its packages/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=${TRIVO_BUILD_DIR:-$ROOT/build}
PACKAGES=$OUT/packages
JOBS=$(nproc 2>/dev/null || echo 2)

bash scripts/setup.sh
# The installed files and folders get their modes from the install rules; the folders CPack makes
# itself get them from the umask.
umask 022
# The folder holds what this run makes, and nothing of an earlier version.
rm -rf "$PACKAGES"
mkdir -p "$OUT" "$PACKAGES"

# build DIR PRESET [CMAKE_ARGS...]: configured afresh each time, which also takes up a new commit's
# date for the packages.
build() {
    local dir=$1 preset=$2
    shift 2
    echo "package: building $dir ($preset)"
    if ! { cmake --preset "$preset" -B "$dir" "$@" && cmake --build "$dir" -j "$JOBS"; } >"$dir.package.log" 2>&1; then
        tail -n 40 "$dir.package.log"
        echo "package: the $preset build failed (log: $dir.package.log)" >&2
        exit 1
    fi
}
build "$OUT/native" native
# The MinGW trees pack their sample quizzes with the native tool; the native tree packs their players
# (TRIVO_PLAYER_32 and TRIVO_PLAYER_64, beside it by default).
build "$OUT/mingw" mingw-i686 -DTRIVO_NATIVE_TOOL="$OUT/native/trivo-make"
build "$OUT/mingw64" mingw-x86_64 -DTRIVO_NATIVE_TOOL="$OUT/native/trivo-make"

# Whoever packs, the archives name root as the owner of every file: fakeroot makes it so.
FAKEROOT=()
if [ "$(id -u)" -ne 0 ]; then FAKEROOT=(fakeroot); fi
for tree in native mingw; do
    if ! (cd "$PACKAGES" && "${FAKEROOT[@]}" cpack --config "$OUT/$tree/CPackConfig.cmake" -B "$PACKAGES") \
        >"$OUT/$tree.cpack.log" 2>&1; then
        cat "$OUT/$tree.cpack.log"
        echo "package: cpack failed for the $tree tree" >&2
        exit 1
    fi
    sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$OUT/$tree.cpack.log"
done
