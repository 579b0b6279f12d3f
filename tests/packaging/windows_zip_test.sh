#!/usr/bin/env bash
# The Windows zip holds a 64-bit plug-in that exports the host's five entry
# points and imports only system DLLs, the program, and a README and license
# that Notepad shows; unpacked anywhere, seedlens.exe finds the plug-in beside
# itself and shows the examples.
#   windows_zip_test.sh PACKAGE.zip VERSION SOURCE_DIR
set -euo pipefail
zip=$(realpath "$1")
version=$2
source_dir=$3
here=$(cd "$(dirname "$0")" && pwd)
failed=0
fail() { echo "$*"; failed=1; }

[ "$(basename "$zip")" = "seedlens-${version}-windows-x64.zip" ] || fail "file name $(basename "$zip")"
listing=$(unzip -Z1 "$zip" | sort)
expected=$(printf '%s\n' LICENSE.txt README.txt Seedlens.wdx seedlens.exe | sort)
[ "$listing" = "$expected" ] || { fail "files differ:"; diff <(echo "$expected") <(echo "$listing") || true; }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"

for binary in Seedlens.wdx seedlens.exe; do
  # Magic 020b is PE32+, the 64-bit layout.
  header=$(x86_64-w64-mingw32-objdump -p "$unpacked/$binary")
  grep -qE '^Magic[[:space:]]+020b' <<<"$header" || fail "$binary is not PE32+"
done
"$here/../windows/pe_tables_test.sh" "$unpacked/Seedlens.wdx" \
  ContentGetDetectString ContentGetSupportedField ContentGetDefaultSortOrder ContentGetValue ContentGetValueW \
  >/dev/null || fail "Seedlens.wdx tables: $("$here/../windows/pe_tables_test.sh" "$unpacked/Seedlens.wdx" \
  ContentGetDetectString ContentGetSupportedField ContentGetDefaultSortOrder ContentGetValue ContentGetValueW)"

for text in README.txt LICENSE.txt; do
  [ "$(grep -c $'\r$' "$unpacked/$text")" -eq "$(wc -l <"$unpacked/$text")" ] || fail "$text has bare line feeds"
done
cmp -s <(tr -d '\r' <"$unpacked/LICENSE.txt") "$source_dir/LICENSE" || fail "LICENSE.txt is not the license"
readme=$(tr -d '\r' <"$unpacked/README.txt")
grep -qF "$version" <<<"$readme" || fail "README.txt does not give the version"
# Every field the plug-in offers is explained (the golden CSV's header names
# them; "Tracker (Host only)" is the Tracker field in another unit).
IFS=, read -r -a columns <"$source_dir/tests/tools/golden/show_examples.csv"
for column in "${columns[@]}"; do
  case "$column" in path | error | *"("*) continue ;; esac
  grep -q "^$column  " <<<"$readme" || fail "README.txt does not explain the field $column"
done

cd "$source_dir"
status=0
actual=$("$source_dir/scripts/wine-run.sh" "$unpacked/seedlens.exe" show --format json examples/ 2>/dev/null \
  | tr -d '\r') || status=$?
[ "$status" -eq 0 ] || fail "seedlens.exe show: exit status $status"
diff -u tests/tools/golden/show_examples.jsonl <(printf '%s\n' "$actual") || fail "seedlens.exe show differs"

[ "$failed" -eq 0 ] && echo "$(basename "$zip"): ok"
exit "$failed"
