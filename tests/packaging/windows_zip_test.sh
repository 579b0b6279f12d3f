#!/usr/bin/env bash
# The Windows zip is what a file manager installs from: the install
# descriptor naming the plug-in, the x64 module under the name 64-bit hosts
# load and, where 32-bit Wine ran its suite, the 32-bit module; each exports
# the host's five entry points undecorated and imports only system DLLs, and
# every binary's version resource gives the package's version. Unpacked
# anywhere, seedlens.exe finds the 64-bit plug-in beside itself and shows
# the examples, and refuses a 32-bit one.
#   windows_zip_test.sh PACKAGE.zip VERSION SOURCE_DIR
set -euo pipefail
zip=$(realpath "$1")
version=$2
source_dir=$3
here=$(cd "$(dirname "$0")" && pwd)
failed=0
fail() { echo "$*"; failed=1; }
entry_points=(ContentGetDetectString ContentGetSupportedField ContentGetDefaultSortOrder ContentGetValue ContentGetValueW)

[ "$(basename "$zip")" = "seedlens-${version}-windows.zip" ] || fail "file name $(basename "$zip")"
files=(LICENSE README.txt Seedlens.wdx64 pluginst.inf seedlens.exe)
# No module ships that no test ran: the 32-bit one needs 32-bit Wine.
with32=false
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  with32=true
  files+=(Seedlens.wdx)
fi
listing=$(unzip -Z1 "$zip" | sort)
expected=$(printf '%s\n' "${files[@]}" | sort)
[ "$listing" = "$expected" ] || { fail "files differ:"; diff <(echo "$expected") <(echo "$listing") || true; }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"

# Exactly one section and the four keys, as hosts read them.
inf=$(tr -d '\r' <"$unpacked/pluginst.inf")
description=$(sed -n 's/^description=//p' <<<"$inf")
[ -n "$description" ] || fail "pluginst.inf has no description"
expected_inf=$(printf '%s\n' '[plugininstall]' "description=$description" type=wdx file=Seedlens.wdx defaultdir=Seedlens)
[ "$inf" = "$expected_inf" ] || { fail "pluginst.inf differs:"; diff <(echo "$expected_inf") <(echo "$inf") || true; }

# Magic 020b is PE32+, the 64-bit layout; 010b is PE32.
magic() { x86_64-w64-mingw32-objdump -p "$1" | awk '/^Magic/{print $2; exit}'; }
binaries=(Seedlens.wdx64 seedlens.exe)
[ "$with32" = false ] || binaries+=(Seedlens.wdx)
for binary in "${binaries[@]}"; do
  expected_magic=020b
  [ "$binary" != Seedlens.wdx ] || expected_magic=010b
  [ "$(magic "$unpacked/$binary")" = "$expected_magic" ] || fail "$binary: magic $(magic "$unpacked/$binary")"
  case "$binary" in
    Seedlens.*)
      tables=$("$here/../windows/pe_tables_test.sh" "$unpacked/$binary" "${entry_points[@]}") \
        || fail "$binary tables: $tables" ;;
  esac
  # The version resource's texts are UTF-16: each key is followed by its value.
  resource() { strings -el "$unpacked/$binary" | grep -A1 -x "$1" | sed -n 2p; }
  for key in FileVersion ProductVersion; do
    [ "$(resource "$key")" = "$version" ] || fail "$binary: $key is '$(resource "$key")'"
  done
  for key in ProductName FileDescription LegalCopyright; do
    [ -n "$(resource "$key")" ] || fail "$binary: no $key"
  done
done

for text in README.txt LICENSE pluginst.inf; do
  [ "$(grep -c $'\r$' "$unpacked/$text")" -eq "$(wc -l <"$unpacked/$text")" ] || fail "$text has bare line feeds"
done
cmp -s <(tr -d '\r' <"$unpacked/LICENSE") "$source_dir/LICENSE" || fail "LICENSE is not the license"
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
wine_run() { "$source_dir/scripts/wine-run.sh" "$unpacked/seedlens.exe" "$@" 2>&1 | tr -d '\r'; }
about=$(wine_run --version) || true
grep -qx "seedlens $version" <<<"$about" || fail "seedlens.exe --version: $about"
status=0
actual=$("$source_dir/scripts/wine-run.sh" "$unpacked/seedlens.exe" show --format json examples/ 2>/dev/null \
  | tr -d '\r') || status=$?
[ "$status" -eq 0 ] || fail "seedlens.exe show: exit status $status"
diff -u tests/tools/golden/show_examples.jsonl <(printf '%s\n' "$actual") || fail "seedlens.exe show differs"
if [ "$with32" = true ]; then
  # Without Seedlens.wdx64 the 32-bit Seedlens.wdx is no module for it.
  rm "$unpacked/Seedlens.wdx64"
  status=0
  refusal=$(wine_run show examples/) || status=$?
  [ "$status" -eq 3 ] && grep -qF "a 64-bit " <<<"$refusal" && grep -qF 'Seedlens.wdx64' <<<"$refusal" \
    || fail "seedlens.exe beside a 32-bit module only: $refusal"
fi

[ "$failed" -eq 0 ] && echo "$(basename "$zip"): ok"
exit "$failed"
