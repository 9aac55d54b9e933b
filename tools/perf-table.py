#!/usr/bin/env python3
"""Summarises the topic benchmarks for docs/PERFORMANCE.md.

    build/bench/planimove_bench --benchmark_filter='^Rebuild' --benchmark_repetitions=3 \
        --benchmark_format=json > topics.json
    tools/perf-table.py topics.json

    build/bench/planimove_bench --benchmark_filter='^Raster' --benchmark_repetitions=3 \
        --benchmark_format=json > raster.json
    tools/perf-table.py raster.json

The raster benchmarks are checked against 3 ms for 1920 x 1080 device pixels
and 8 ms for 3840 x 2160 (reached at device-pixel ratio 1 or 2).
"""
import json
import statistics
import sys

GROUPS = {1: "Pole", 2: "Geschwindigkeit", 3: "Beschleunigung", 4: "Krümmung",
          5: "Koppelkurven", 6: "Polwechsel", 7: "Relativbewegung", 8: "Siebengelenke",
          9: "Beispiel", 10: "Synthese"}


RASTER_TARGETS = {"Raster1920x1080@1": 3.0, "Raster960x540@2": 3.0,
                  "Raster3840x2160@1": 8.0, "Raster1920x1080@2": 8.0}


def raster_table(runs):
    samples = {}
    for b in runs:
        if b.get("run_type", "iteration") != "iteration":
            continue
        name = b["name"].split("/min_time")[0].split("/")
        samples.setdefault((name[0], tuple(int(x) for x in name[1:4])), []).append(b["cpu_time"])
    medians = {k: statistics.median(v) for k, v in samples.items()}
    screens = [s for s in RASTER_TARGETS if any(k[0] == s for k in medians)]
    print("| group | topic | " + " | ".join(f"{s[6:]} median / slowest ms" for s in screens) + " |")
    print("|---|---|" + "---|" * len(screens))
    topics = sorted({(g, t) for (_, (_, g, t)) in medians})
    for g, t in topics:
        cells = []
        for s in screens:
            v = [m for (sc, (_, gg, tt)), m in medians.items() if sc == s and (gg, tt) == (g, t)]
            cells.append(f"{statistics.median(v):.2f} / {max(v):.2f}")
        print(f"| {g} {GROUPS[g]} | {t} | " + " | ".join(cells) + " |")
    for s in screens:
        table = {k[1]: m for k, m in medians.items() if k[0] == s}
        worst = max(table.items(), key=lambda kv: kv[1])
        over = sum(1 for m in table.values() if m > RASTER_TARGETS[s])
        print(f"\n{s}: median {statistics.median(table.values()):.2f} ms, slowest {worst[1]:.2f} ms "
              f"(type {worst[0][0]}, group {worst[0][1]}, topic {worst[0][2]}); "
              f"{over} of {len(table)} over {RASTER_TARGETS[s]:g} ms")


def main(path):
    runs = json.load(open(path))["benchmarks"]
    if any(b["name"].startswith("Raster") for b in runs):
        raster_table(runs)
        return
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
