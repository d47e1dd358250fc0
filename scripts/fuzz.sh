#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/setup.sh

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DZEILWERK_FUZZ=ON -DZEILWERK_TESTS=OFF -DZEILWERK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target scanner_fuzz ini_fuzz
for target in scanner_fuzz ini_fuzz; do
    mkdir -p "fuzz-corpus/$target"
    log="build-fuzz/$target.log"
    status=0
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "fuzz-corpus/$target" >"$log" 2>&1 ||
        status=$?
    echo "$target: $(grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec' "$log" | tr '\n' ' ')"
    [ "$status" -eq 0 ] || { tail -40 "$log"; echo "fuzz target $target failed"; exit 1; }
done
