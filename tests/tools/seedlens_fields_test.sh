#!/usr/bin/env bash
# `seedlens fields` prints the detect string and the eighteen rows.
set -euo pipefail
seedlens=$1
out=$("$seedlens" fields)
expected='Detect string: EXT="TORRENT"'
grep -qxF "$expected" <<<"$out" || { echo "missing: $expected"; echo "$out"; exit 1; }
rows=$(grep -cE '^[0-9]+ ' <<<"$out")
[ "$rows" -eq 18 ] || { echo "expected 18 rows, got $rows"; echo "$out"; exit 1; }
grep -qE '^2 +Total Size +2 int64 +-1 +bytes\|kbytes\|Mbytes\|Gbytes$' <<<"$out" || { echo "row 2 wrong"; echo "$out"; exit 1; }
grep -qE '^13 +Errors +8 text +1 *$' <<<"$out" || { echo "row 13 wrong"; echo "$out"; exit 1; }
grep -qE '^15 +Magnet +8 text +1 *$' <<<"$out" || { echo "row 15 wrong"; echo "$out"; exit 1; }
# A plug-in that cannot be loaded is an error, not a crash.
if "$seedlens" fields --plugin /nonexistent/Seedlens.wdx 2>/dev/null; then echo "missing plug-in accepted"; exit 1; fi
# Without arguments: usage, and a failing exit code.
if "$seedlens" >/dev/null; then echo "no arguments accepted"; exit 1; fi
echo "seedlens fields: ok"
