#!/usr/bin/env bash
# Records the profile that guides the release build's optimisation: an
# instrumented build of the plug-in and of seedlens shows every field of a
# folder of typical torrents (scripts/training_torrents.py) and of the
# examples, as a file manager does when it opens a download folder.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset training >/dev/null
cmake --build --preset training --target seedlens_wdx seedlens >/dev/null
corpus=build/training/corpus
if [ ! -d "$corpus" ] || [ scripts/training_torrents.py -nt "$corpus" ]; then
  rm -rf "$corpus"
  python3 scripts/training_torrents.py "$corpus.tmp"
  mv "$corpus.tmp" "$corpus"
fi
# A profile from earlier sources would be merged into, not replaced.
rm -rf build/profile
status=0
build/training/bin/seedlens show --format json "$corpus" examples examples/broken >/dev/null 2>&1 || status=$?
# The broken examples fail on purpose (exit code 1).
if [ "$status" -gt 1 ]; then
  echo "training run failed with exit code $status" >&2
  exit 1
fi
