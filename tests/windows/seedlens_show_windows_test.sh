#!/usr/bin/env bash
# seedlens.exe under Wine gives, for every example torrent and field, the
# answers the Linux build gives (the checked-in JSON of the wide export).
set -euo pipefail
seedlens=$1
source_dir=$2
cd "$source_dir"
# check FOLDER STATUS GOLDEN: the examples load whole; a broken one fails.
check() {
  local folder=$1 expected_status=$2 golden=$3
  local actual status=0
  actual=$("$source_dir/scripts/wine-run.sh" "$seedlens" show --format json "$folder" 2>/dev/null | tr -d '\r') \
    || status=$?
  [ "$status" -eq "$expected_status" ] || { echo "$folder: exit status $status, expected $expected_status"; exit 1; }
  diff -u "tests/tools/golden/$golden" <(printf '%s\n' "$actual")
}
check examples/ 0 show_examples.jsonl
check examples/broken/ 1 show_broken.jsonl
echo "seedlens.exe show: same answers as on Linux"
