#!/usr/bin/env bash
# Side-by-side comparison of Seedlens with libtorrent and transmission:
# installs the peers from Debian's packages, makes a corpus with their own
# creators, compares every field and times the parse, and writes
# bench/compare/REPORT.md.
#   bench/compare/run.sh [SMALL_TORRENTS]   (default 2000)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
missing=()
for p in libtorrent-rasterbar-dev python3-libtorrent transmission-cli mktorrent pkg-config; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
"$root/scripts/build.sh" release >/dev/null
"$root/scripts/build.sh" compare >/dev/null
corpus=build/compare-corpus
rm -rf "$corpus"
# Debian's python3, which has libtorrent's bindings.
/usr/bin/python3 bench/compare/make_corpus.py "$corpus" "${1:-2000}"
# An earlier build to compare against: SEEDLENS_BEFORE=path/to/seedlens.
/usr/bin/python3 bench/compare/compare.py build/release/bin/seedlens build/compare/bench/compare/compare_peers \
  "$corpus" bench/compare/REPORT.md ${SEEDLENS_BEFORE:+"$SEEDLENS_BEFORE"}
