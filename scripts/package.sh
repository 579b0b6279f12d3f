#!/usr/bin/env bash
# Builds the release (with its training profile) and the Windows build, and
# writes both packages into dist/: seedlens_X.Y.Z_amd64.deb and
# seedlens-X.Y.Z-windows-x64.zip.
#   scripts/package.sh [--no-build]   --no-build: package the builds already
#                                     in build/release and build/windows
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
if [ "${1:-}" != "--no-build" ]; then
  scripts/install-deps.sh --windows
  scripts/build.sh release >/dev/null
  scripts/build.sh windows >/dev/null
fi
mkdir -p dist
rm -f dist/seedlens_*.deb dist/seedlens-*.zip
for preset in release windows; do
  [ -f "build/$preset/CPackConfig.cmake" ] || { echo "no build in build/$preset: run scripts/build.sh $preset" >&2; exit 1; }
  # The staging folders stay in the build folder; only the package lands in dist/.
  (cd "build/$preset" && cpack -D CPACK_OUTPUT_FILE_PREFIX="$root/dist" >/dev/null)
done
ls dist/seedlens_*.deb dist/seedlens-*.zip
