#!/usr/bin/env bash
# Sets up what building and running Zeilwerk needs (no test or cross-build tools), builds and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh build

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zeilwerk

exec build/zeilwerk "$@"
