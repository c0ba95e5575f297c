"""Pairs BM_<Workload>_Ours/<args> with BM_<Workload>_<Peer>/<args> and
prints our time, the peer's time and the ratio (of wall-clock times, and of
CPU times, which a busy shared machine disturbs less). With repetitions
(--benchmark_repetitions=N) the medians are used."""
import json
import re
import sys

program, path = sys.argv[1], sys.argv[2]
with open(path) as f:
    all_runs = json.load(f).get("benchmarks", [])
medians = [b for b in all_runs if b.get("aggregate_name") == "median"]
runs = medians or [b for b in all_runs if b.get("run_type", "iteration") == "iteration"]

def split(name):
    m = re.match(r"BM_(.+)_([A-Za-z0-9]+)(/.*)?$", name)
    return (m.group(1), m.group(2), m.group(3) or "") if m else (name, "", "")

ours = {}
peers = []
for b in runs:
    workload, who, args = split(b.get("run_name", b["name"]))
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
    t = (b["real_time"] * scale, b["cpu_time"] * scale)
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
print(f"{'workload':40} {'ours':>12} {'peer':>24} {'ratio':>8} {'cpu ratio':>10}")
shown = set()
for workload, who, args, t in peers:
    key = (workload, args)
    if key in ours:
        o = ours[key]
        print(f"{workload + args:40} {fmt(o[0]):>12} {who + ' ' + fmt(t[0]):>24} "
              f"{o[0] / t[0]:8.2f} {o[1] / t[1]:10.2f}")
        shown.add(key)
for key, t in ours.items():
    if key not in shown:
        print(f"{key[0] + key[1]:40} {fmt(t[0]):>12} {'(no peer)':>24} {'':>8}")
