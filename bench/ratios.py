#!/usr/bin/env python3
"""Turns the JSON output of bench_route into the table of bench/README.md (CPU time)."""
import json
import sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
cpu = {r["name"]: r["cpu_time"] / 1000.0 for r in runs}  # microseconds -> milliseconds
lowerings = {r["name"]: r.get("lowerings_per_stop") for r in runs}

print("| network | stops | indexed | FindWay (with indexes) | Boost adjacency_list | Boost CSR "
      "| literal | indexed / CSR | indexed / adjacency_list | literal / indexed "
      "| literal / FindWay | lowerings per stop |")
print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
for kind in ("grid", "radial"):
    for n in (1000, 10000, 100000):
        t = {m: cpu.get(f"{kind}/{m}/{n}") for m in
             ("indexed", "findway", "boost_adjlist", "boost_csr", "literal")}
        ms = lambda v: "–" if v is None else f"{v:.3g} ms"
        ratio = lambda a, b: "–" if a is None or b is None else f"{a / b:.3g}×"
        low = lowerings.get(f"{kind}/indexed/{n}")
        print(f"| {kind} | {n} | {ms(t['indexed'])} | {ms(t['findway'])} | "
              f"{ms(t['boost_adjlist'])} | {ms(t['boost_csr'])} | {ms(t['literal'])} | "
              f"{ratio(t['indexed'], t['boost_csr'])} | {ratio(t['indexed'], t['boost_adjlist'])} | "
              f"{ratio(t['literal'], t['indexed'])} | {ratio(t['literal'], t['findway'])} | "
              f"{'–' if low is None else format(low, '.3g')} |")
