#!/usr/bin/env bash
# Installs what is missing, builds the library, its tests and the orv
# program in build/ (the tree scripts/build.sh makes, reused) and runs the
# whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure
