#!/usr/bin/env bash
# Installs what is missing, builds the library and its tests in
# build-test/ and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_BENCH=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure
