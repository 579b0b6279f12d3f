#!/usr/bin/env bash
# The Windows plug-in exports exactly the host's entry points, undecorated,
# and imports only system DLLs.
set -euo pipefail
dll=$1; shift
dump=$(x86_64-w64-mingw32-objdump -p "$dll")
exports=$(awk '/Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{on=0}' <<<"$dump" | sort)
expected=$(printf '%s\n' "$@" | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$exports"; exit 1
fi
imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump" | sort -u)
for dll_name in $imports; do
  case "$dll_name" in
    kernel32.dll|advapi32.dll|msvcrt.dll|user32.dll|ntdll.dll|api-ms-win-*) ;;
    *) echo "non-system import: $dll_name"; exit 1 ;;
  esac
done
echo "exports: $(echo $exports)"; echo "imports: $(echo $imports)"
