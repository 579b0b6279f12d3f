#!/usr/bin/env bash
# Installs what building and testing Seedlens needs on Debian 12, if missing.
#   install-deps.sh            the Linux build, its tests, sanitizers and fuzzers
#   install-deps.sh --windows  also the Windows cross build and Wine
set -euo pipefail
packages=(g++ clang libclang-rt-14-dev cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
          libcli11-dev binutils python3)
# The packages (CPack's DEB generator and its dependency scan), the zip's
# check, and the manual page's.
packages+=(dpkg-dev file unzip groff-base)
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine64 wine locales)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
