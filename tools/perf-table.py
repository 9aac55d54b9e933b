#!/usr/bin/env python3
"""Summarises the topic benchmarks for docs/PERFORMANCE.md.

    build/bench/planimove_bench --benchmark_filter='^Rebuild' --benchmark_repetitions=3 \
        --benchmark_format=json > topics.json
    tools/perf-table.py topics.json
"""
import json
import statistics
import sys

GROUPS = {1: "Pole", 2: "Geschwindigkeit", 3: "Beschleunigung", 4: "Krümmung",
          5: "Koppelkurven", 6: "Polwechsel", 7: "Relativbewegung", 8: "Siebengelenke",
          9: "Beispiel", 10: "Synthese"}


def main(path):
    runs = json.load(open(path))["benchmarks"]
    # With --benchmark_repetitions=N every benchmark has N runs (and aggregate
    # rows, skipped here); a topic's figure is the median of its runs, which
    # keeps a run disturbed by the rest of the machine from deciding it.
    samples = {}
    for b in runs:
        if b.get("run_type", "iteration") != "iteration":
            continue
        name = b["name"].split("/min_time")[0].split("/")
        key = (name[0], tuple(int(x) for x in name[1:4]))
        samples.setdefault(key, []).append((b["cpu_time"], int(b.get("primitives", 0))))
    rebuild, raster = {}, {}
    for (kind, key), values in samples.items():
        (rebuild if kind == "Rebuild" else raster)[key] = (
            statistics.median(v[0] for v in values), values[0][1])
    print("| group | topic | primitives (max) | rebuild median / slowest ms | + raster median / slowest ms |")
    print("|---|---|---|---|---|")
    topics = sorted({(g, t) for (_, g, t) in rebuild})
    for g, t in topics:
        rb = [v[0] for (ty, gg, tt), v in rebuild.items() if (gg, tt) == (g, t)]
        rr = [v[0] for (ty, gg, tt), v in raster.items() if (gg, tt) == (g, t)]
        prims = max(v[1] for (ty, gg, tt), v in rebuild.items() if (gg, tt) == (g, t))
        print(f"| {g} {GROUPS[g]} | {t} | {prims} | {statistics.median(rb):.3f} / {max(rb):.3f} "
              f"| {statistics.median(rr):.2f} / {max(rr):.2f} |")
    for label, table, target in (("rebuild", rebuild, 1.0), ("rebuild + raster", raster, 4.0)):
        times = [v[0] for v in table.values()]
        worst = max(table.items(), key=lambda kv: kv[1][0])
        over = sorted(k for k, v in table.items() if v[0] > target)
        print(f"\n{label}: median {statistics.median(times):.3f} ms, slowest {worst[1][0]:.3f} ms "
              f"(type {worst[0][0]}, group {worst[0][1]}, topic {worst[0][2]}); "
              f"{len(over)} of {len(table)} over {target:g} ms")


if __name__ == "__main__":
    main(sys.argv[1])
