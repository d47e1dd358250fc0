#!/usr/bin/env bash
# Sets up, builds and runs every test: once as built, once under ASan and UBSan, the fuzz
# targets briefly, and the Windows build under Wine. A part whose optional packages could not be
# installed is skipped with a line that names them, and counted as skipped at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh build test fuzz windows wine32
. scripts/packages.sh

passed=0 skipped=0 skip_lines=()
skip() {  # skip WHAT LAYER: says so now and again at the end
    local line
    line="SKIPPED: $1: not installed: $(missing_packages "$2" | tr '\n' ' ')"
    echo "$line"
    skip_lines+=("$line")
    skipped=$((skipped + 1))
}
# ctest ... ; adds its number of tests to the passed ones (set -e has stopped at a failure).
run_ctest() {
    ctest "$@"
    local count
    count=$(ctest "$@" -N | sed -n 's/^Total Tests: *//p')
    passed=$((passed + ${count:-0}))
}

# The desktop tests' tools are required: missing, they stop the run. Wine's 32-bit half is
# optional: without it the export test under Wine is skipped, loudly.
wine_tests=ON
if [ -n "$(missing_packages wine32)" ]; then
    wine_tests=OFF
    skip "the export into the 32-bit stand-in Maker dialog under Wine (MakerExportUnderWine)" wine32
fi
configure=(-DZEILWERK_REQUIRE_ALL_TESTS=ON -DZEILWERK_DESKTOP_TESTS=ON -DZEILWERK_WINE_TESTS=$wine_tests)

start=$SECONDS
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}" >/dev/null
cmake --build build -j2
run_ctest --test-dir build --output-on-failure -j2
echo "Linux build and tests: $((SECONDS - start)) s"

# The fuzz targets must keep building with clang; a short run of each catches the obvious.
start=$SECONDS
bash scripts/fuzz.sh 20
echo "Fuzz targets: $((SECONDS - start)) s"

start=$SECONDS
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEILWERK_SANITIZE=ON -DZEILWERK_BENCH=OFF \
    "${configure[@]}" >/dev/null
cmake --build build-sanitize -j2
run_ctest --test-dir build-sanitize --output-on-failure -j2
echo "Sanitizer build and tests: $((SECONDS - start)) s"

# Qt for Windows is built once per machine into the user's cache folder, then reused.
if [ -n "$(missing_packages windows)" ]; then
    skip "the Windows build and its tests under Wine" windows
else
    start=$SECONDS
    bash scripts/windows.sh
    echo "Windows build: $((SECONDS - start)) s"
    start=$SECONDS
    bash scripts/windows.sh test | tee build-windows/test.log
    windows_passed=$(sed -n 's/^\([0-9]*\) passed, 0 failed$/\1/p' build-windows/test.log | tail -1)
    passed=$((passed + ${windows_passed:-0}))
    echo "Windows tests under Wine: $((SECONDS - start)) s"
fi
echo "All of it: $SECONDS s"
for line in "${skip_lines[@]}"; do echo "$line"; done
echo "tests: $passed passed, 0 failed, $skipped skipped"
