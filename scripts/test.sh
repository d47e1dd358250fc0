#!/usr/bin/env bash
# Sets up, builds and runs every test: once as built, once under ASan and UBSan, and the
# Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

start=$SECONDS
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
echo "Linux build and tests: $((SECONDS - start)) s"

# The fuzz targets must keep building with clang; a short run of each catches the obvious.
start=$SECONDS
bash scripts/fuzz.sh 20
echo "Fuzz targets: $((SECONDS - start)) s"

# Both builds share one Wine prefix: making one takes a while and much disk.
start=$SECONDS
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEILWERK_SANITIZE=ON -DZEILWERK_BENCH=OFF \
    -DZEILWERK_WINE_PREFIX="$PWD/build/wine-prefix" >/dev/null
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2
echo "Sanitizer build and tests: $((SECONDS - start)) s"

# Qt for Windows is built once per build tree (about twenty minutes), then reused.
start=$SECONDS
bash scripts/windows.sh
echo "Windows build: $((SECONDS - start)) s"
start=$SECONDS
bash scripts/windows.sh test
echo "Windows tests under Wine: $((SECONDS - start)) s"
