"""Pairs BM_<Workload>_Ours/<args> with BM_<Workload>_<Peer>/<args> and
prints our time, the peer's time and the ratio."""
import json
import re
import sys

program, path = sys.argv[1], sys.argv[2]
with open(path) as f:
    runs = [b for b in json.load(f).get("benchmarks", []) if b.get("run_type", "iteration") == "iteration"]

def split(name):
    m = re.match(r"BM_(.+)_([A-Za-z0-9]+)(/.*)?$", name)
    return (m.group(1), m.group(2), m.group(3) or "") if m else (name, "", "")

ours = {}
peers = []
for b in runs:
    workload, who, args = split(b["name"])
    t = b["real_time"] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
    if who == "Ours":
        ours[(workload, args)] = t
    else:
        peers.append((workload, who, args, t))

def fmt(t):
    for unit, scale in (("s", 1), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)):
        if t >= scale:
            return f"{t / scale:9.3f} {unit:2}"
    return f"{t / 1e-9:9.3f} ns"

print(f"== {program}")
print(f"{'workload':40} {'ours':>12} {'peer':>24} {'ratio':>8}")
shown = set()
for workload, who, args, t in peers:
    key = (workload, args)
    if key in ours:
        print(f"{workload + args:40} {fmt(ours[key]):>12} {who + ' ' + fmt(t):>24} {ours[key] / t:8.2f}")
        shown.add(key)
for key, t in ours.items():
    if key not in shown:
        print(f"{key[0] + key[1]:40} {fmt(t):>12} {'(no peer)':>24} {'':>8}")
