#!/usr/bin/env bash
# Installs what is missing, then builds the library, its tests and its
# benchmarks in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh bench
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
