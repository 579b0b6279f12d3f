#!/usr/bin/env bash
# `seedlens show` on the example torrents, against checked-in outputs: the
# examples folder loads whole, the broken ones are reported. The table's
# dates are local: the outputs are made in UTC.
set -euo pipefail
seedlens=$1
source_dir=$2
cd "$source_dir"
golden=tests/tools/golden
stderr_file=$(mktemp)
trap 'rm -f "$stderr_file"' EXIT
failed=0
# check GOLDEN STATUS REPORTED FOLDER [OPTION...]: the output equals GOLDEN,
# the exit status is STATUS, and stderr names exactly the files in REPORTED
# (space-separated; empty: stderr stays empty).
check() {
  local name=$1 expected_status=$2 reported=$3 folder=$4; shift 4
  local actual status=0
  actual=$(TZ=UTC "$seedlens" show "$@" "$folder" 2>"$stderr_file") || status=$?
  if [ "$status" -ne "$expected_status" ]; then
    echo "$name: exit status $status, expected $expected_status"; failed=1
  fi
  local path
  for path in $reported; do
    grep -q "^seedlens: $path:" "$stderr_file" || { echo "$name: $path not reported"; failed=1; }
  done
  if [ -z "$reported" ] && [ -s "$stderr_file" ]; then
    echo "$name: unexpected stderr:"; cat "$stderr_file"; failed=1
  fi
  if ! diff -u "$golden/$name" <(printf '%s\n' "$actual"); then echo "$name differs"; failed=1; fi
}
check show_examples.txt 0 "" examples/
check show_examples_narrow.jsonl 0 "" examples/ --format json --narrow
check show_examples.csv 0 "" examples/ --format csv
check show_broken.txt 1 examples/broken/not-bencoded.torrent examples/broken/
check show_broken.jsonl 1 examples/broken/not-bencoded.torrent examples/broken/ --format json
# Usage errors.
if "$seedlens" show --format xml examples/ 2>/dev/null; then echo "bad format accepted"; failed=1; fi
if "$seedlens" show 2>/dev/null; then echo "show without paths accepted"; failed=1; fi
[ "$failed" -eq 0 ] && echo "seedlens show: ok"
exit "$failed"
