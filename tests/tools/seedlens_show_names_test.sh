#!/usr/bin/env bash
# `seedlens show` on files whose names are bytes that need not be UTF-8, in a
# folder whose own name is no UTF-8: each file shows its own torrent and no
# other, named alone or found in its folder, through both value calls.
set -euo pipefail
seedlens=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The same files in a plain folder and in one whose own name is no UTF-8.
folders=("$work/plain" "$work/folder-"$'\xfe\xed')
mkdir "${folders[@]}"
# A file name (printf escapes) and the torrent name inside that file; no
# torrent name is part of another.
cases=(
  'caf\xe9.torrent'                  t-latin1-e9
  'caf\xe8.torrent'                  t-latin1-e8
  'caf\xef\xbf\xbd.torrent'          t-replacement
  '\x83\x65\x83\x58\x83\x67.torrent' t-shift-jis
  '\xed\xb0\x80.torrent'             t-surrogate
  'caf\xc3\xa9.torrent'              t-utf8
  '\x01\x7f\xff \x80.torrent'        t-random
)
for folder in "${folders[@]}"; do
  for ((i = 0; i < ${#cases[@]}; i += 2)); do
    name=${cases[i+1]}
    printf 'd4:infod4:name%d:%see' "${#name}" "$name" >"$folder/$(printf "${cases[i]}")"
  done
done
failed=0
for folder in "${folders[@]}"; do
  where=${folder##*/}
  for call in "" --narrow; do
    for ((i = 0; i < ${#cases[@]}; i += 2)); do
      own=${cases[i+1]}
      out=$("$seedlens" show $call "$folder/$(printf "${cases[i]}")") || { echo "$where $own $call: exit status $?"; failed=1; }
      for ((j = 1; j < ${#cases[@]}; j += 2)); do
        if grep -qF -- "${cases[j]}" <<<"$out"; then shown=yes; else shown=no; fi
        if [ "${cases[j]}" = "$own" ] && [ $shown = no ]; then echo "$where $own $call: not shown"; failed=1; fi
        if [ "${cases[j]}" != "$own" ] && [ $shown = yes ]; then echo "$where $own $call: shows ${cases[j]}"; failed=1; fi
      done
    done
    # The whole folder: every torrent loads and shows.
    out=$("$seedlens" show $call "$folder") || { echo "$where $call: exit status $?"; failed=1; }
    for ((j = 1; j < ${#cases[@]}; j += 2)); do
      grep -qF -- "${cases[j]}" <<<"$out" || { echo "$where $call: ${cases[j]} not shown"; failed=1; }
    done
  done
done
# JSON names every file so that a reader gets its bytes back: Python through
# os.fsencode, any reader through path_bytes, given when the name is no UTF-8.
for folder in "${folders[@]}"; do
  "$seedlens" show -f json "$folder" | /usr/bin/python3 -c '
import json, os, sys
folder = os.fsencode(sys.argv[1])
want = {os.path.join(folder, name) for name in os.listdir(folder)}
got = set()
for line in sys.stdin:
    record = json.loads(line)
    path = os.fsencode(record["path"])
    got.add(path)
    try:
        path.decode("utf-8")
        utf8 = True
    except UnicodeDecodeError:
        utf8 = False
    given = record.get("path_bytes")
    if (given is None) != utf8 or bytes.fromhex(given or path.hex()) != path:
        print(f"json: {path!r}: path_bytes {given!r}")
        sys.exit(1)
if got != want:
    print(f"json: paths {sorted(got)} read back, not {sorted(want)}")
    sys.exit(1)
' "$folder" || { echo "${folder##*/}: JSON paths"; failed=1; }
done
[ "$failed" -eq 0 ] && echo "seedlens show, names that are bytes: ok"
exit "$failed"
