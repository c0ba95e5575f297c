#!/usr/bin/env bash
# Runs every benchmark program and prints, for each workload, our time, the
# peer's time measured in the same run, and the ratio. Benchmarks come in
# pairs named BM_<Workload>_Ours/<arg> and BM_<Workload>_<Peer>/<arg>.
#   scripts/bench.sh [filter-regex]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
filter="${1:-.}"
for exe in build/bench/*_bench; do
  [[ -x "$exe" ]] || continue
  json=$(mktemp)
  "$exe" --benchmark_filter="$filter" --benchmark_format=json --benchmark_out="$json" \
         --benchmark_out_format=json >/dev/null 2>&1 || true
  python3 scripts/bench_ratios.py "$(basename "$exe")" "$json"
  rm -f "$json"
done
