#!/usr/bin/env bash
# Sets up, builds and runs every test: once as built, once under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

# The fuzz targets must keep building with clang; a short run of each catches the obvious.
bash scripts/fuzz.sh 20

# Both builds share one Wine prefix: making one takes a while and much disk.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEILWERK_SANITIZE=ON -DZEILWERK_BENCH=OFF \
    -DZEILWERK_WINE_PREFIX="$PWD/build/wine-prefix" >/dev/null
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2
