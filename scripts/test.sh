#!/usr/bin/env bash
# Builds Seedlens and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" release
ctest --preset release -j "$(nproc)"
