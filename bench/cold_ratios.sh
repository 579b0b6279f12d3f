#!/usr/bin/env bash
# The cold request against its floor, measured two ways:
#  - separate runs: the cold and floor benchmarks run interleaved, many
#    times, and the ratio of their medians is printed, so that the machine's
#    drift (other tenants, frequency) weighs on both alike;
#  - paired: one benchmark times cold requests and the floor on the same
#    files in alternating chunks of 50, the median of its ratios is printed.
#    Our code then meets caches the floor has just used, as it does in a
#    host that does other work between requests: the stricter figure.
#  - large trees, paired: one file of 100,000 to 1,000,000 files, or of
#    7.9 million empty lists, cold and floor in turns, a fresh cache and a
#    fresh buffer each time. A run takes seconds, so fewer of them
#    (LARGE_REPETITIONS, 0 to leave them out).
#
#   bench/cold_ratios.sh [BUILD_DIR] [REPETITIONS] [LARGE_REPETITIONS]
set -euo pipefail
build="${1:-build/release}"
repetitions="${2:-15}"
large_repetitions="${3:-5}"
bench="$build/bench/seedlens_bench_plugin"

echo "separate runs (ratio of medians of $repetitions):"
"$bench" --benchmark_filter='BM_(Cold|Floor)_' \
    --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
python3 -c '
import csv, sys
medians = {}
for row in csv.reader(sys.stdin):
    if row and row[0].endswith("_median"):
        medians[row[0][:-len("_median")]] = float(row[2])  # real time
for name in ("2000SmallTorrents", "3MBPieces", "20000Files", "V2_20000Files", "Hybrid_20000Files", "Hybrid_3MBPieces"):
    cold, floor = medians["BM_Cold_" + name], medians["BM_Floor_" + name]
    print(f"  {name:18} cold {cold:10.1f}  floor {floor:10.1f}  ratio {cold / floor:5.2f}")
'

echo "paired (median of $repetitions ratios):"
"$bench" --benchmark_filter='BM_ColdOverFloor_' --benchmark_repetitions="$repetitions" \
    --benchmark_format=json 2>/dev/null |
python3 -c '
import json, statistics, sys
runs = {}
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("run_type") == "iteration":
        runs.setdefault(b["run_name"][len("BM_ColdOverFloor_"):], []).append(b)
for name in ("2000SmallTorrents", "3MBPieces", "20000Files", "V2_20000Files", "Hybrid_20000Files", "Hybrid_3MBPieces"):
    ratios = sorted(r["ratio"] for r in runs[name])
    cold = statistics.median(r["cold_ns"] for r in runs[name]) / 1000
    floor = statistics.median(r["floor_ns"] for r in runs[name]) / 1000
    print(f"  {name:18} cold {cold:8.1f} us floor {floor:8.1f} us  ratio {statistics.median(ratios):5.2f}"
          f"  (from {ratios[0]:.2f} to {ratios[-1]:.2f})")
'

[ "$large_repetitions" -gt 0 ] || exit 0
echo "large trees, paired (median of $large_repetitions ratios):"
"$bench" --benchmark_filter='BM_LargeColdOverFloor_' --benchmark_repetitions="$large_repetitions" \
    --benchmark_format=json 2>/dev/null |
python3 -c '
import json, statistics, sys
runs = {}
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("run_type") == "iteration":
        runs.setdefault(b["run_name"].split("/")[0][len("BM_LargeColdOverFloor_"):], []).append(b)
for name in ("RealShaped100000Files", "RealShaped300000Files", "RealShaped1000000Files", "7900000EmptyLists"):
    ratios = sorted(r["ratio"] for r in runs[name])
    cold = statistics.median(r["cold_ms"] for r in runs[name])
    floor = statistics.median(r["floor_ms"] for r in runs[name])
    print(f"  {name:22} cold {cold:8.1f} ms floor {floor:8.1f} ms  ratio {statistics.median(ratios):7.2f}"
          f"  (from {ratios[0]:.2f} to {ratios[-1]:.2f})")
'
