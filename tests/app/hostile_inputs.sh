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

# Interrupted saves: a signal at ten moments spread over the time a whole
# run takes here, the save at its end included. The program ends by the
# signal or has finished; the folder then holds the finished report or
# nothing, never a temporary.
mkdir -p "$dir/stop"
start=$(date +%s%N)
"$orv" report "$dir/in/large.csv" -o "$dir/stop/r.xlsx" >/dev/null 2>&1
whole=$(awk "BEGIN { print ($(date +%s%N) - $start) / 1e9 }")
for signal in INT TERM; do
  for tenth in 1 2 3 4 5 6 7 8 9 10; do
    delay=$(awk "BEGIN { print $whole * $tenth / 10 }")
    rm -rf "$dir/stop"/* "$dir/stop"/.[!.]* 2>/dev/null
    # A background job starts with SIGINT ignored: give it back its default.
    env --default-signal=INT "$orv" report "$dir/in/large.csv" -o "$dir/stop/r.xlsx" \
      >/dev/null 2>&1 &
    pid=$!
    sleep "$delay"
    kill -s "$signal" "$pid" 2>/dev/null
    wait "$pid"
    left=$(ls -A "$dir/stop" | grep -v '^r.xlsx$')
    [[ -z $left ]] || fail "SIG$signal after $tenth tenths of ${whole}s left $left"
  done
done
[[ $failed == 0 ]] && echo "all hostile inputs handled"
exit $failed
