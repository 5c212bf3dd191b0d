#!/usr/bin/env python3
"""Turns lzw_bench's JSON output into the Markdown tables of docs/benchmark.md.

Speeds are MiB/s (2^20 bytes per second of CPU time), medians over the repetitions when there are
several; ratios divide Trivo's speed by the peer's in the same run.
Usage: bench_table.py RESULTS.json
"""
import json
import statistics
import sys
from collections import defaultdict

INPUTS = ["prose", "quiz", "words", "random"]


def load(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    speeds, times, packed = defaultdict(list), defaultdict(list), defaultdict(list)
    runs = [r for r in data["benchmarks"] if not r.get("error_occurred")]
    # With --benchmark_report_aggregates_only the file holds only aggregates: take their medians.
    if not any(r.get("run_type") == "iteration" for r in runs):
        runs = [r for r in runs if r.get("aggregate_name") == "median"]
    for run in runs:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        speeds[run["run_name"]].append(run["bytes_per_second"] / 2**20)
        # Time of one call, in microseconds.
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[run["time_unit"]]
        times[run["run_name"]].append(run["cpu_time"] * scale)
        if "packed" in run:
            packed[run["run_name"]].append(run["packed"])
    median = lambda d: {k: statistics.median(v) for k, v in d.items()}
    return data["context"], median(speeds), median(times), median(packed)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    context, speed, time, packed = load(sys.argv[1])
    print(f"{context.get('date', '')}, {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz\n")

    print("| input | Trivo pack | deflate-1 | deflate-6 | Trivo / deflate-1 | Trivo / deflate-6 | packed size: Trivo, deflate-1, deflate-6 |")
    print("|---|---:|---:|---:|---:|---:|---|")
    for name in INPUTS:
        contenders = ("Trivo", "deflate-1", "deflate-6")
        t, d1, d6 = (speed.get(f"pack/{name}/{c}") for c in contenders)
        sizes = ", ".join(f"{100 * packed.get(f'pack/{name}/{c}', 0):.1f} %" for c in contenders)
        if t and d1 and d6:
            print(f"| {name} | {t:.0f} MiB/s | {d1:.0f} MiB/s | {d6:.0f} MiB/s | {t / d1:.2f} | {t / d6:.2f} | {sizes} |")

    print("\n| input | Trivo unpack | inflate | Trivo / inflate |")
    print("|---|---:|---:|---:|")
    for name in INPUTS:
        t, i = (speed.get(f"unpack/{name}/{c}") for c in ("Trivo", "inflate"))
        if t and i:
            print(f"| {name} | {t:.0f} MiB/s | {i:.0f} MiB/s | {t / i:.2f} |")

    print("\n| one 90-question quiz | Trivo | zlib | Trivo's speed / zlib's |")
    print("|---|---:|---:|---:|")
    for op, peer in (("unpack", "inflate"), ("pack", "deflate-1")):
        t, z = time.get(f"{op}/quiz90/Trivo"), time.get(f"{op}/quiz90/{peer}")
        if t and z:
            print(f"| {op} (zlib: {peer}) | {t:.1f} µs | {z:.1f} µs | {z / t:.2f} |")


if __name__ == "__main__":
    main()
