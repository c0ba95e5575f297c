#!/usr/bin/env bash
# Hostile and broken inputs (scripts/make_hostile_inputs.py) through the
# built `orv report`, each under 1 GiB of address space and 10 seconds: each
# ends with its exit status and its own message; a failed run leaves no
# file; a report that succeeds has only well-formed XML parts and no raw
# control character in what it prints. Then a save interrupted by SIGINT or
# SIGTERM at any moment leaves no temporary file.
#   tests/app/hostile_inputs.sh path/to/orv
set -uo pipefail
orv=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 "$here/../../scripts/make_hostile_inputs.py" "$dir/in" || { echo "FAIL: generator"; exit 1; }
# The Python that has openpyxl, which the workbook tool imports.
py=/usr/bin/python3
"$py" -c 'import openpyxl' 2>/dev/null || py=python3
failed=0
fail() { echo "FAIL: $*"; failed=1; }
while IFS=$'\t' read -r name status expect; do
  out="$dir/out/$name"
  mkdir -p "$out"
  prlimit --as=1073741824 timeout 10 "$orv" report "$dir/in/$name" -o "$out/r.xlsx" \
    >"$out/stdout" 2>"$out/stderr"
  got=$?
  [[ $got == "$status" ]] || fail "$name: exit $got, not $status: $(head -c 300 "$out/stderr")"
  if [[ $status == 0 ]]; then
    grep -qF -- "$expect" "$out/stdout" || fail "$name: no '$expect' in: $(head -c 300 "$out/stdout")"
    "$py" "$here/../xlsx/workbook_tool.py" wellformed "$out/r.xlsx" >"$out/parts" 2>&1
    grep -q "BROKEN\|Error" "$out/parts" && fail "$name: $(cat "$out/parts")"
    grep -q "well-formed xl/charts/chart1.xml" "$out/parts" || fail "$name: no chart: $(cat "$out/parts")"
  else
    grep -qF -- "$expect" "$out/stderr" || fail "$name: no '$expect' in: $(head -c 300 "$out/stderr")"
    [[ -e $out/r.xlsx ]] && fail "$name: a file was written"
  fi
  LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$out/stdout" "$out/stderr" &&
    fail "$name: control characters on the terminal"
  ls -A "$out" | grep -v '^\(r.xlsx\|stdout\|stderr\|parts\)$' && fail "$name: debris left"
done <"$dir/in/cases.tsv"

# Interrupted saves: a signal at 10 moments from before the save to after
# it. The program ends by the signal or has finished; the folder then holds
# the finished report or nothing, never a temporary.
mkdir -p "$dir/stop"
for signal in INT TERM; do
  for delay in 0.05 0.1 0.15 0.2 0.25 0.3 0.4 0.5 0.7 1.0; do
    rm -rf "$dir/stop"/* "$dir/stop"/.[!.]* 2>/dev/null
    "$orv" report "$dir/in/large.csv" -o "$dir/stop/r.xlsx" >/dev/null 2>&1 &
    pid=$!
    sleep "$delay"
    kill -s "$signal" "$pid" 2>/dev/null
    wait "$pid"
    left=$(ls -A "$dir/stop" | grep -v '^r.xlsx$')
    [[ -z $left ]] || fail "SIG$signal after ${delay}s left $left"
  done
done
[[ $failed == 0 ]] && echo "all hostile inputs handled"
exit $failed
