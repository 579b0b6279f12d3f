#!/usr/bin/env bash
# The main job: build Seedlens and print, through the real plug-in, every
# field of the example torrents, or of the files and folders given.
# Each stage prints one line on stderr; its log is in build/logs/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/stages.sh"
stage install "Installing what is missing with apt-get, if anything" "about 3 min for all of it" \
  "$root/scripts/install-deps.sh"
stage training "Training the optimisation profile: an instrumented build shows 3,000 torrents" "about 2 min" \
  "$root/scripts/train_profile.sh"
# The plug-in and seedlens alone, in the release tree as every command configures it.
stage build "Building the plug-in and seedlens, optimised with the profile" "about 2 min" \
  build_preset release seedlens_wdx seedlens
if [ $# -eq 0 ]; then
  cd "$root"
  set -- examples/
fi
exec "$root/build/release/bin/seedlens" show "$@"
