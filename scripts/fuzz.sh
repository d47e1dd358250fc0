#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds,
# or ten million runs, whichever comes first. Further arguments name the targets to run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(scanner_fuzz ini_fuzz picture_fuzz number_fuzz code_page_fuzz export_text_fuzz game_files_fuzz fonts_fuzz game_events_fuzz spelling_fuzz message_codes_fuzz message_writer_fuzz csv_fuzz)

bash scripts/setup.sh build fuzz

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DZEILWERK_FUZZ=ON -DZEILWERK_TESTS=OFF -DZEILWERK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]}" write_font_seeds
# Seeds of our own: pictures kept in fuzz/seeds, fonts written by the tests' writers.
rm -rf build-fuzz/seeds && cp -r fuzz/seeds build-fuzz/seeds
build-fuzz/fuzz/write_font_seeds build-fuzz/seeds
for target in "${targets[@]}"; do
    mkdir -p "fuzz-corpus/$target"
    seeds=()
    [ -d "build-fuzz/seeds/$target" ] && seeds=("build-fuzz/seeds/$target")
    log="build-fuzz/$target.log"
    status=0
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -runs=10000000 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/$target-" "fuzz-corpus/$target" "${seeds[@]}" >"$log" 2>&1 || status=$?
    echo "$target: $(grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec' "$log" | tr '\n' ' ')"
    [ "$status" -eq 0 ] || { tail -40 "$log"; echo "fuzz target $target failed"; exit 1; }
done
