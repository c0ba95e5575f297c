#!/usr/bin/env bash
# Installs what is missing, then builds the library, its tests, its
# benchmarks and the orv program in build/, and runs `orv report` on the
# built-in sample, writing report.xlsx.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh bench
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
build/apps/orv/orv report -o report.xlsx
