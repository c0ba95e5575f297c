#!/usr/bin/env bash
# Mutation testing: plants each small fault listed in scripts/mutations.txt
# into the library, one at a time, rebuilds the test program the entry names
# and runs it. A fault is killed when the program fails (or times out). Prints
# one line per fault and "killed/total" at the end; every file is restored.
#   scripts/mutate.sh [BUILD_DIR] [FILTER]   FILTER: a substring of the entries
#                                            to run (a file or a test program)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mutate}
filter=${2:-}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_BENCH=OFF >/dev/null

python3 - "$build" "$filter" <<'PY'
import os, re, subprocess, sys, time

build, only = sys.argv[1], sys.argv[2]
entries, cur = [], None
for line in open("scripts/mutations.txt"):
    line = line.rstrip("\n")
    if line.startswith("@ "):
        path, test, what = line[2:].split(" ", 2)
        cur = {"path": path, "test": test, "what": what, "old": [], "new": []}
        entries.append(cur)
    elif line.startswith("- ") and cur:
        cur["old"].append(line[2:].strip())
    elif line.startswith("+ ") and cur:
        cur["new"].append(line[2:].strip())
entries = [e for e in entries if only in e["path"] or only in e["test"] or only in e["what"]]

def build_and_run(test):
    b = subprocess.run(["cmake", "--build", build, "--target", test, "-j2"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if b.returncode != 0:
        return "not built"
    try:
        r = subprocess.run([os.path.join(build, "tests", test), "--gtest_brief=1"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    except subprocess.TimeoutExpired:
        return "failed"
    return "passed" if r.returncode == 0 else "failed"

# Every named test program must pass as the code stands.
for test in sorted({e["test"] for e in entries}):
    if build_and_run(test) != "passed":
        sys.exit(f"{test} does not pass without a mutation; fix that first")

killed = total = 0
for e in entries:
    text = open(e["path"]).read()
    pattern = r"\n[ \t]*".join(re.escape(l) for l in e["old"])
    found = len(re.findall(pattern, text))
    if found != 1:
        sys.exit(f"{e['path']}: the text of '{e['what']}' is found {found} times, not once")
    start = time.time()
    try:
        open(e["path"], "w").write(re.sub(pattern, lambda m: "\n".join(e["new"]), text))
        outcome = build_and_run(e["test"])
    finally:
        open(e["path"], "w").write(text)
    if outcome == "not built":
        sys.exit(f"{e['path']}: '{e['what']}' does not compile; fix the entry")
    total += 1
    killed += outcome == "failed"
    state = "killed  " if outcome == "failed" else "SURVIVED"
    print(f"{state} {e['test']:18} {e['path']}: {e['what']} ({time.time() - start:.0f} s)", flush=True)
# Leave the build as the sources are.
for test in sorted({e["test"] for e in entries}):
    build_and_run(test)
print(f"{killed}/{total} killed")
PY
