#!/usr/bin/env bash
# Fuzzing campaigns: builds the libFuzzer targets with clang (AddressSanitizer
# and UBSan included) in build-fuzz and runs each for SECONDS (default 300)
# from its corpus in fuzz/corpus/<target>. New inputs go to a scratch
# corpus (merge them by hand with -merge=1 when they are worth keeping);
# a crash is written to fuzz/crashes/<target>/, which the replay tests then
# run, and ends the script with status 1.
#   scripts/fuzz.sh [SECONDS] [TARGET ...]     targets: xlsx_reader csv_reader reference convert
#                                             serve
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(xlsx_reader csv_reader reference convert serve)
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_FUZZ=ON -DORV_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}" -j"${JOBS:-2}"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for t in "${targets[@]}"; do
  scratch=$(mktemp -d)
  mkdir -p "fuzz/crashes/$t"
  echo "== $t: ${seconds}s"
  if ! "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="fuzz/crashes/$t/" \
      "$scratch" "fuzz/corpus/$t" 2>"build-fuzz/fuzz_$t.log"; then
    status=1
    tail -40 "build-fuzz/fuzz_$t.log"
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/fuzz_$t.log" || true
  rm -rf "$scratch"
  rmdir "fuzz/crashes/$t" fuzz/crashes 2>/dev/null || true
done
exit $status
