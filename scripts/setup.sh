#!/usr/bin/env bash
# Installs the Debian packages that building and testing Trivo needs, and only those that are missing.
# Idempotent: when everything is there it runs no apt command at all.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  libtomlplusplus-dev libstb-dev wfrench debian-faq-fr python3 valgrind
  # The packages: trivo-make's manual page, and root as the owner of every file whoever packs.
  help2man fakeroot
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine fonts-wine xvfb xauth x11-utils imagemagick xdotool
  # The 32-bit Wine and what its media players need (MP3 decoding, GL for the film player).
  wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  # The same for the 64-bit Wine, which runs the 64-bit build where 32-bit programs cannot run.
  wine64 gstreamer1.0-plugins-base gstreamer1.0-plugins-good libgl1 libgl1-mesa-dri libglx-mesa0
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then need_i386=1; fi

missing=()
for p in "${PACKAGES[@]}"; do
  # dpkg-query knows "name:arch"; a package is present when its status is "install ok installed".
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "$need_i386" -eq 0 ] && [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${#missing[@]} missing package(s): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ "$need_i386" -eq 1 ]; then $SUDO dpkg --add-architecture i386; fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
