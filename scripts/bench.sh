#!/usr/bin/env bash
# Builds the benchmarks in build-bench/ and runs them, printing for each
# workload our time, the peer's time measured in the same run, and the
# ratio. Benchmarks come in pairs named BM_<Workload>_Ours/<arg> and
# BM_<Workload>_<Peer>/<arg>. Peers run at their best: Eigen compiled for
# this machine's instruction set (-march=native), OpenBLAS's serial build for
# dgemm and for LAPACK's dsyev.
#   scripts/bench.sh [filter-regex [benchmark flags...]]
# e.g. scripts/bench.sh 'Multiply|Cholesky' --benchmark_repetitions=3 (medians
# are then compared).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh bench
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j"${ORV_BENCH_JOBS:-$(nproc)}" >/dev/null
features=$(grep -m1 -o -w -E 'avx512f|avx512dq|avx2|fma|sse4_2' /proc/cpuinfo | sort -u | tr '\n' ' ' || true)
echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "CPU features the library dispatches on: ${features:-none found}"
echo "Peers built with -march=native; OpenBLAS serial (OPENBLAS_NUM_THREADS=1)"
export OPENBLAS_NUM_THREADS=1
filter="${1:-.}"
shift || true
for exe in build-bench/bench/*_bench; do
  [[ -x "$exe" ]] || continue
  json=$(mktemp)
  "$exe" --benchmark_filter="$filter" "$@" --benchmark_format=json --benchmark_out="$json" \
         --benchmark_out_format=json >/dev/null 2>&1 || true
  python3 scripts/bench_ratios.py "$(basename "$exe")" "$json"
  rm -f "$json"
done
