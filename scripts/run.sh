#!/usr/bin/env bash
# The main job: build Seedlens and print, through the real plug-in, every
# field of the example torrents, or of the files and folders given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" release >/dev/null
if [ $# -eq 0 ]; then
  cd "$root"
  set -- examples/
fi
exec "$root/build/release/bin/seedlens" show "$@"
