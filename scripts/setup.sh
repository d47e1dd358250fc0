#!/usr/bin/env bash
# Installs, with apt-get, whatever of Zeilwerk's build and test needs is missing.
set -euo pipefail

packages=(
    g++ cmake make pkg-config zlib1g-dev
    libgtest-dev libbenchmark-dev
    qt6-base-dev libgl-dev libxcb1-dev
    xvfb xauth openbox x11-utils xdotool desktop-file-utils dpkg-dev
    fonts-ipafont-mincho fonts-wine
    wine wine64 g++-mingw-w64-x86-64-win32
    clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
