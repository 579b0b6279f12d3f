#!/usr/bin/env bash
# The cold request against its floor, as ratios of medians. The two run
# interleaved, many times, so that the machine's drift (other tenants,
# frequency) weighs on both alike.
#
#   bench/cold_ratios.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
build="${1:-build/release}"
repetitions="${2:-15}"
"$build/bench/seedlens_bench_plugin" --benchmark_filter='Cold|Floor' \
    --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
python3 -c '
import csv, sys
medians = {}
for row in csv.reader(sys.stdin):
    if row and row[0].endswith("_median"):
        medians[row[0][:-len("_median")]] = float(row[2])  # real time
for name in ("2000SmallTorrents", "3MBPieces", "20000Files"):
    cold, floor = medians["BM_Cold_" + name], medians["BM_Floor_" + name]
    print(f"{name:18} cold {cold:10.1f}  floor {floor:10.1f}  ratio {cold / floor:5.2f}")
'
