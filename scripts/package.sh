#!/usr/bin/env bash
# Builds the release (with its training profile) and the Windows builds, and
# writes both packages into dist/: seedlens_X.Y.Z_amd64.deb and
# seedlens-X.Y.Z-windows.zip. The zip holds Seedlens.wdx64 (the x64 build),
# Seedlens.wdx (the 32-bit build, if its suite passed under 32-bit Wine),
# pluginst.inf, seedlens.exe (x64), README.txt and LICENSE.
#   scripts/package.sh [--no-build]   --no-build: package the builds already
#                                     in build/release, build/windows and
#                                     build/windows32
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
if [ "${1:-}" != "--no-build" ]; then
  scripts/install-deps.sh --windows
  scripts/build.sh release >/dev/null
  scripts/build.sh windows >/dev/null
  scripts/windows32.sh >/dev/null
fi
mkdir -p dist
rm -f dist/seedlens_*.deb dist/seedlens-*.zip
for preset in release windows; do
  [ -f "build/$preset/CMakeCache.txt" ] || { echo "no build in build/$preset: run scripts/build.sh $preset" >&2; exit 1; }
done
# The staging folders stay in the build folders; only the packages land in dist/.
(cd build/release && cpack -D CPACK_OUTPUT_FILE_PREFIX="$root/dist" >/dev/null)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
stage=build/windows/archive
rm -rf "$stage"
cmake --install build/windows --prefix "$stage" --strip >/dev/null
# 64-bit hosts load the name with "64" appended; pluginst.inf names the plain one.
mv "$stage/Seedlens.wdx" "$stage/Seedlens.wdx64"
module32=build/windows32/bin/Seedlens.wdx
if [ -f build/windows32/suite-passed.sha256 ] && sha256sum --check --status build/windows32/suite-passed.sha256; then
  i686-w64-mingw32-strip -o "$stage/Seedlens.wdx" "$module32"
elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo "package.sh: the 32-bit Seedlens.wdx is left out: 32-bit Wine (wine32:i386) is not installed, so its suite could not run" >&2
else
  echo "package.sh: the 32-bit Seedlens.wdx is left out: its suite has not passed on this build (scripts/windows32.sh)" >&2
fi
(cd "$stage" && cmake -E tar cf "$root/dist/seedlens-$version-windows.zip" --format=zip -- *)
ls dist/seedlens_*.deb dist/seedlens-*.zip
