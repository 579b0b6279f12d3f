#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and without standard input,
# in a private Wine prefix made on first use: build/wine-prefix, or for a
# 32-bit program build/wine-prefix-win32, a 32-bit Windows such as 32-bit
# file managers run on.
#   scripts/wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix=$root/build/wine-prefix
# The PE header starts where the DOS header's last field says; the machine
# that follows its signature is 014c for a 32-bit program.
pe_offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
if [ "$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$1" | tr -d ' ')" = 014c ]; then
  export WINEARCH=win32
  prefix=$root/build/wine-prefix-win32
fi
export WINEPREFIX="${SEEDLENS_WINEPREFIX:-$prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export LANG="${SEEDLENS_WINE_LANG:-C.UTF-8}"
# Wine takes its code page from a locale the C library has: East Asian ones
# are built once into build/locales.
if [ "$LANG" != "C.UTF-8" ]; then
  export LOCPATH="$root/build/locales"
  if [ ! -d "$LOCPATH/$LANG" ]; then
    mkdir -p "$LOCPATH"
    localedef -i "${LANG%%.*}" -f UTF-8 "$LOCPATH/$LANG" >/dev/null 2>&1 || true
  fi
fi
unset LC_ALL DISPLAY
export HOME="$WINEPREFIX-home"
mkdir -p "$HOME"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 300 wine wineboot -i >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true
fi
# The tests' folders go in one of the run's own, removed after the program
# has ended: a plug-in module they load stays loaded, and undeletable, until then.
run_temp="$(mktemp -d "${TMPDIR:-/tmp}/seedlens-wine-run.XXXXXX")"
trap 'rm -rf "$run_temp"' EXIT
export SEEDLENS_TEST_TEMP="Z:${run_temp//\//\\}"
timeout "${SEEDLENS_WINE_TIMEOUT:-900}" wine "$@" </dev/null
