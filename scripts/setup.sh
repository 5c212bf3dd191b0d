#!/usr/bin/env bash
# Installs the Debian packages that building and testing Trivo needs, and only those that are missing,
# in two groups: what every machine needs, which must install, and the 32-bit Wine, which may not (the
# kernel may not run 32-bit programs, or the i386 lists may be out of step with the others): then one
# line says so, and the scripts use the 64-bit build. When everything is there it runs no apt command.
# TRIVO_NO_32BIT=1 leaves the 32-bit group out; TRIVO_APT_PAUSE is the pause, in seconds, between
# tries of apt-get update (default 10).
set -uo pipefail

EVERY_MACHINE=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  libtomlplusplus-dev libstb-dev wfrench debian-faq-fr python3 valgrind
  # The packages: trivo-make's manual pages (the French one made under a French locale, generated
  # from locales' sources), and root as the owner of every file whoever packs.
  help2man fakeroot locales
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine fonts-wine xvfb xauth x11-utils imagemagick xdotool
  # The 64-bit Wine, and what its media players need (MP3 decoding, GL for the film player).
  wine64 gstreamer1.0-plugins-base gstreamer1.0-plugins-good libgl1 libgl1-mesa-dri libglx-mesa0
  # The web page: its WebAssembly, its films, and the browser its tests play it in.
  emscripten ffmpeg chromium
  # trivo-make's message catalogues; the studio's server and its JSON.
  gettext libboost-dev nlohmann-json3-dev
)
# Node.js and npm for the page's tests: Debian's, unless a Node.js of another origin (which brings
# its own npm, and would conflict with Debian's) is already there.
command -v node >/dev/null 2>&1 || EVERY_MACHINE+=(nodejs)
command -v npm >/dev/null 2>&1 || EVERY_MACHINE+=(npm)
# The 32-bit Wine and the same for its media players.
WIN32_GROUP=(
  wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
)
PAUSE=${TRIVO_APT_PAUSE:-10}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

missing_of() {  # PACKAGES...: those whose status is not "install ok installed" (dpkg-query knows name:arch)
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

# True when the kernel starts a 32-bit program: a 96-byte static i386 ELF that exits with status 42,
# tried before anything is fetched. TRIVO_KERNEL_RUNS_32BIT=yes|no stands for the answer, so the tests
# of this script take both paths on machines of either kind.
runs_32bit_programs() {
    case "${TRIVO_KERNEL_RUNS_32BIT:-}" in yes) return 0 ;; no) return 1 ;; esac
    local probe code
    probe=$(mktemp "${TMPDIR:-/tmp}/trivo-i386-probe.XXXXXX") || return 1
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000T\200\004\0104\000\000\000\000\000\000\000\000\000\000\0004\000 \000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010`\000\000\000`\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273*\000\000\000\315\200' >"$probe"
    chmod 700 "$probe"
    "$probe" 2>/dev/null
    code=$?
    rm -f "$probe"
    [ "$code" -eq 42 ]
}

# apt-get's last error line of LOG, or its last line.
apt_error() {
    grep -E '^(E|Err):' "$1" | tail -n 1 | grep . || tail -n 1 "$1"
}

mapfile -t missing < <(missing_of "${EVERY_MACHINE[@]}")
missing32=()
why32=""
if [ "${TRIVO_NO_32BIT:-0}" = 1 ]; then
    why32="TRIVO_NO_32BIT is set"
elif ! runs_32bit_programs; then
    why32="this machine's kernel does not run 32-bit programs"
else
    mapfile -t missing32 < <(missing_of "${WIN32_GROUP[@]}")
    dpkg --print-foreign-architectures | grep -qx i386 || missing32+=("(the i386 architecture)")
fi
if [ "${#missing[@]}" -eq 0 ] && [ "${#missing32[@]}" -eq 0 ]; then
    exit 0
fi

log=$(mktemp "${TMPDIR:-/tmp}/trivo-setup.XXXXXX") || exit 1
trap 'rm -f "$log"' EXIT
all=("${missing[@]}" "${missing32[@]}")
echo "setup: installing ${#all[@]} missing package(s): ${all[*]}"
if [ "${#missing32[@]}" -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
# A mirror being synchronised fails some lists for a while: try again, then go on with what apt has,
# and let the installs say whether it was enough.
update_error=""
for try in 1 2 3; do
    $SUDO apt-get update -qq >"$log" 2>&1 && { update_error=""; break; }
    update_error="; apt-get update had failed 3 times: $(apt_error "$log")"
    [ "$try" -lt 3 ] && sleep "$PAUSE"
done

if [ "${#missing[@]}" -gt 0 ]; then
    if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
        echo "setup: installing the packages every build needs failed: apt-get install ${missing[*]}" >&2
        echo "setup: apt-get said: $(apt_error "$log")$update_error" >&2
        exit 1
    fi
fi
if [ "${#missing32[@]}" -gt 0 ]; then
    mapfile -t missing32 < <(missing_of "${WIN32_GROUP[@]}")
    if [ "${#missing32[@]}" -gt 0 ] &&
        ! $SUDO apt-get install -y -qq --no-install-recommends "${missing32[@]}" >"$log" 2>&1; then
        why32="apt-get install ${missing32[*]} failed: $(apt_error "$log")"
    fi
fi
if [ -n "$why32" ] && [ "${TRIVO_NO_32BIT:-0}" != 1 ]; then
    echo "setup: the 32-bit Wine is not installed ($why32); the 64-bit build will be used"
fi
echo "setup: done"
