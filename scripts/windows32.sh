#!/usr/bin/env bash
# Builds the 32-bit Windows plug-in (build/windows32) and, where 32-bit Wine
# is installed, runs its suite there. A suite that passed is recorded with
# the module's checksum (build/windows32/suite-passed.sha256): package.sh
# ships only the module so recorded.
#   scripts/windows32.sh [--no-build]   --no-build: test the build already there
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build=build/windows32
rm -f "$build/suite-passed.sha256"
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo "32-bit Wine (wine32:i386) is not installed: the 32-bit module is built and its tables checked, its suite cannot run"
  if [ "${1:-}" != "--no-build" ]; then
    cmake --preset windows32 >/dev/null
    cmake --build --preset windows32 --target seedlens_wdx >/dev/null
  fi
  ctest --preset windows32 -R windows_plugin_tables
  exit 0
fi
[ "${1:-}" = "--no-build" ] || scripts/build.sh windows32 >/dev/null
ctest --preset windows32
sha256sum "$build/bin/Seedlens.wdx" >"$build/suite-passed.sha256"
