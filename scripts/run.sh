#!/usr/bin/env bash
# The main job: build Seedlens and print, through the real plug-in, the
# plug-in's field table.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" release >/dev/null
exec "$root/build/release/bin/seedlens" fields "$@"
