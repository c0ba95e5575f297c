#!/usr/bin/env bash
# Installs what is missing, then builds the library, its tests and the orv
# program in build/, and runs `orv report` on the built-in sample, writing
# report.xlsx. The benchmarks are built by scripts/bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
build/apps/orv/orv report -o report.xlsx
