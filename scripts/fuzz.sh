#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a bounded time (default 60 s),
# seeded with the examples, the peer corpus and the kept regression inputs.
# Fails on any crash, leak, timeout or sanitizer report.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds=${1:-60}; shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_bencode_reader fuzz_load_stream fuzz_value_exports)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

seeds=build/fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
cp examples/*.torrent examples/broken/*.torrent "$seeds"/
if [ -d ../shared/peer-corpus ]; then
  find ../shared/peer-corpus -name '*.torrent' -print0 | while IFS= read -r -d '' f; do
    cp "$f" "$seeds/peer-$(basename "$f" | tr ' ' '_')"
  done
fi
# The peer corpus brings v2-only and hybrid torrents (a "meta version" key):
# the value exports and the document loader meet the newer layout from the start.
echo "seeds: $(ls "$seeds" | wc -l) torrents, $(grep -l 'meta versioni' "$seeds"/* | wc -l) of them v2-only or hybrid"
for target in "${targets[@]}"; do
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  dirs=("$work" "$seeds")
  [ -d "fuzz/regressions/$target" ] && dirs+=("fuzz/regressions/$target")
  echo "== $target for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    "build/fuzz/fuzz/$target" -max_total_time="$seconds" -dict=fuzz/bencode.dict -timeout=10 \
    -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="build/fuzz/$target-" "${dirs[@]}" 2>&1 \
    | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss|INFO: (seed|-max_len)|==[0-9]+==|SUMMARY|Done [0-9]+ runs)|cov:' | tail -n 6
  status=${PIPESTATUS[0]}
  if [ "$status" -ne 0 ]; then echo "$target failed (status $status)"; exit 1; fi
done
echo "fuzzing: all targets ran clean"
