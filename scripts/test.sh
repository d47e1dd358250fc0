#!/usr/bin/env bash
# Sets up, builds and runs every test: once as built, once under ASan and UBSan, and the
# Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# setup.sh installed every tool the desktop and Wine tests need: a missing one is an error
# here, never a quietly skipped group.
start=$SECONDS
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZEILWERK_REQUIRE_ALL_TESTS=ON -DZEILWERK_DESKTOP_TESTS=ON -DZEILWERK_WINE_TESTS=ON >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
echo "Linux build and tests: $((SECONDS - start)) s"

# The fuzz targets must keep building with clang; a short run of each catches the obvious.
start=$SECONDS
bash scripts/fuzz.sh 20
echo "Fuzz targets: $((SECONDS - start)) s"

start=$SECONDS
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEILWERK_SANITIZE=ON -DZEILWERK_BENCH=OFF \
    -DZEILWERK_REQUIRE_ALL_TESTS=ON -DZEILWERK_DESKTOP_TESTS=ON -DZEILWERK_WINE_TESTS=ON >/dev/null
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2
echo "Sanitizer build and tests: $((SECONDS - start)) s"

# Qt for Windows is built once per machine into the user's cache folder, then reused.
start=$SECONDS
bash scripts/windows.sh
echo "Windows build: $((SECONDS - start)) s"
start=$SECONDS
bash scripts/windows.sh test
echo "Windows tests under Wine: $((SECONDS - start)) s"
echo "All of it: $SECONDS s"
