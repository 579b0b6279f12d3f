#!/usr/bin/env bash
# `seedlens show` on the example torrents, against checked-in outputs. The
# table's dates are local: the outputs are made in UTC.
set -euo pipefail
seedlens=$1
source_dir=$2
cd "$source_dir"
golden=tests/tools/golden
failed=0
check() {
  local name=$1; shift
  local actual status=0
  actual=$(TZ=UTC "$seedlens" show "$@" examples/ 2>/tmp/seedlens-show-stderr.$$) || status=$?
  # One example is not bencoded: it is reported, and the status says so.
  if [ "$status" -ne 1 ]; then echo "$name: exit status $status, expected 1"; failed=1; fi
  grep -qx "seedlens: examples/not-bencoded.torrent: not a torrent" /tmp/seedlens-show-stderr.$$ \
    || { echo "$name: failure not reported"; failed=1; }
  if ! diff -u "$golden/$name" <(printf '%s\n' "$actual"); then echo "$name differs"; failed=1; fi
  rm -f /tmp/seedlens-show-stderr.$$
}
check show_examples.txt
check show_examples_narrow.jsonl --format json --narrow
check show_examples.csv --format csv
# Usage errors.
if "$seedlens" show --format xml examples/ 2>/dev/null; then echo "bad format accepted"; failed=1; fi
if "$seedlens" show 2>/dev/null; then echo "show without paths accepted"; failed=1; fi
[ "$failed" -eq 0 ] && echo "seedlens show: ok"
exit "$failed"
