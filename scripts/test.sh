#!/usr/bin/env bash
# Sets up, builds and runs every test: once as built, once under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEILWERK_SANITIZE=ON -DZEILWERK_BENCH=OFF >/dev/null
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2
