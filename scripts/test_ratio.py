#!/usr/bin/env python3
"""Lines of tests against lines of library and program.

Counts non-blank, non-comment lines of .cpp and .hpp files under src/ and
apps/ (the code) and tests/ (the tests) and prints their ratio; -v lists the
count per folder. Exits 1 when the tests pass 0.40 of the code.
"""
import os
import sys

LIMIT = 0.40


def count(path):
    n, in_block = 0, False
    for line in open(path, errors="replace"):
        s = line.strip()
        if in_block:
            if "*/" not in s:
                continue
            in_block, s = False, s.split("*/", 1)[1].strip()
        if not s or s.startswith("//"):
            continue
        if s.startswith("/*"):
            in_block = "*/" not in s
            continue
        n += 1
    return n


def tree(root):
    per = {}
    for d, _, files in os.walk(root):
        for f in files:
            if f.endswith((".cpp", ".hpp")):
                per[d] = per.get(d, 0) + count(os.path.join(d, f))
    return per


os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
totals = {}
for root in ("src", "apps", "tests"):
    per = tree(root)
    totals[root] = sum(per.values())
    if "-v" in sys.argv:
        for k in sorted(per):
            print(f"  {k:40} {per[k]:6}")
code = totals["src"] + totals["apps"]
ratio = totals["tests"] / code
print(f"tests {totals['tests']}, code {code} (src {totals['src']}, apps {totals['apps']}): {ratio:.3f}")
sys.exit(1 if ratio > LIMIT else 0)
