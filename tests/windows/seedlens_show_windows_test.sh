#!/usr/bin/env bash
# seedlens.exe under Wine gives, for every example torrent and field, the
# answers the Linux build gives (the checked-in JSON of the wide export).
set -euo pipefail
seedlens=$1
source_dir=$2
cd "$source_dir"
status=0
actual=$("$source_dir/scripts/wine-run.sh" "$seedlens" show --format json examples/ 2>/dev/null | tr -d '\r') || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1 (one example is not bencoded)"; exit 1; }
expected=$(cat tests/tools/golden/show_examples.jsonl)
diff -u <(printf '%s\n' "$expected") <(printf '%s\n' "$actual")
echo "seedlens.exe show: same answers as on Linux"
