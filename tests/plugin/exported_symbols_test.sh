#!/usr/bin/env bash
# The plug-in exports the host's entry points and nothing else.
set -euo pipefail
wdx=$1; shift
actual=$(nm -D --defined-only "$wdx" | awk '{print $3}' | sort)
expected=$(printf '%s\n' "$@" | sort)
if [ "$actual" != "$expected" ]; then
  echo "exported symbols differ"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$actual"; exit 1
fi
echo "exports: $(echo $actual)"
