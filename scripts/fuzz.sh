#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/setup.sh
command -v clang++ >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo;
    $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-dev; }

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DZEILWERK_FUZZ=ON -DZEILWERK_TESTS=OFF -DZEILWERK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2
for target in scanner_fuzz ini_fuzz; do
    mkdir -p "fuzz-corpus/$target"
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "fuzz-corpus/$target"
done
