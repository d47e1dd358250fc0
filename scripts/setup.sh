#!/usr/bin/env bash
# Installs, with apt-get, whatever of Zeilwerk's build and test needs is missing.
set -euo pipefail

packages=(
    g++ cmake make pkg-config zlib1g-dev
    libgtest-dev libbenchmark-dev
    qt6-base-dev libgl-dev libxcb1-dev
    xvfb xauth openbox x11-utils xdotool desktop-file-utils dpkg-dev
    fonts-ipafont-mincho fonts-wine xfonts-shinonome
    libhunspell-dev hunspell-de-de
    wine wine64 g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
    clang libclang-rt-dev
    wine32:i386
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The Maker is a 32-bit program, and so is our bridge to it: Wine needs its 32-bit half.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
# Another apt-get may hold the lock for a while; wait for it rather than fail.
$sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
