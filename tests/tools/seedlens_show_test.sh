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
# Columns chosen by name, in any letter case, in every format; values alone.
check show_examples_chosen.csv 0 "" examples/ -F "format,NAME,Tracker (host only),SHA-256" --format csv
check show_examples_chosen.jsonl 0 "" examples/ --fields=Source,Magnet --format json
check show_examples_chosen.txt 0 "" examples/ -F "Name, Errors"
check show_examples_bare.txt 0 "" examples/ -F Name,Magnet,Format --bare
check show_broken_bare.txt 1 examples/broken/not-bencoded.torrent examples/broken/ -F Errors,Name --bare
# Usage errors.
if "$seedlens" show --format xml examples/ 2>/dev/null; then echo "bad format accepted"; failed=1; fi
if "$seedlens" show 2>/dev/null; then echo "show without paths accepted"; failed=1; fi
for bad in "-F Nmae" "-F Name,,SHA" "--bare -f json"; do
  status=0
  # shellcheck disable=SC2086  # the words are the arguments
  "$seedlens" show $bad examples/ >/dev/null 2>"$stderr_file" || status=$?
  [ "$status" -eq 2 ] || { echo "show $bad: exit status $status, expected 2"; failed=1; }
done
grep -q "an empty name is no field" <("$seedlens" show -F '' examples/ 2>&1) || { echo "empty field list accepted"; failed=1; }
grep -q "'Nmae' is no field" <(TZ=UTC "$seedlens" show -F Nmae examples/ 2>&1) || { echo "unknown field not named"; failed=1; }
[ "$failed" -eq 0 ] && echo "seedlens show: ok"
exit "$failed"
