#!/usr/bin/env bash
# Configures and builds one preset (default: release). The release and
# compare builds are optimised with a training profile, recorded first.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
case "$preset" in
  release | compare) scripts/train_profile.sh ;;
esac
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
