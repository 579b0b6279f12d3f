#!/usr/bin/env bash
# The Debian package holds the program, the plug-in where the program finds
# it, the manual page, the license, the changelog and how to add the plug-in
# to Double Commander, with Debian's modes; it depends on the packages of the
# libraries they link; lintian finds nothing to warn of; and, unpacked
# anywhere, its seedlens shows the examples without being told where the
# plug-in is.
#   deb_package_test.sh PACKAGE.deb VERSION SOURCE_DIR
set -euo pipefail
deb=$(realpath "$1")
version=$2
source_dir=$3
here=$(cd "$(dirname "$0")" && pwd)
failed=0
fail() { echo "$*"; failed=1; }

[ "$(basename "$deb")" = "seedlens_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"

# The regular files, each with its mode; folders are left out.
listing=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sort -k2)
expected=$(sort -k2 <<'LIST'
-rwxr-xr-x ./usr/bin/seedlens
-rw-r--r-- ./usr/lib/seedlens/Seedlens.wdx
-rw-r--r-- ./usr/share/doc/seedlens/README.Debian
-rw-r--r-- ./usr/share/doc/seedlens/changelog.gz
-rw-r--r-- ./usr/share/doc/seedlens/copyright
-rw-r--r-- ./usr/share/man/man1/seedlens.1.gz
LIST
)
[ "$listing" = "$expected" ] || { fail "files differ:"; diff <(echo "$expected") <(echo "$listing") || true; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = seedlens ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
for name in Maintainer Section Description; do
  [ -n "$(field "$name" | tr -d '[:space:]')" ] || fail "no $name"
done
# Found by dpkg-shlibdeps: the C and C++ runtimes, and OpenSSL's libcrypto
# (in libssl3, libssl3t64 since Debian 13).
depends=$(field Depends)
for package in libc6 'libstdc\+\+6' 'libssl3(t64)?'; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# No maintainer scripts: a private plug-in needs no ldconfig.
tags=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $tags"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
doc=$unpacked/usr/share/doc/seedlens
cmp -s "$doc/copyright" "$source_dir/LICENSE" || fail "copyright is not the license"
[ "$(zcat "$doc/changelog.gz" | head -1)" = "seedlens ($version) unstable; urgency=medium" ] \
  || fail "changelog: $(zcat "$doc/changelog.gz" | head -1)"
# README.Debian is the README's section on Double Commander, word for word.
missing=$(tail -n +4 "$doc/README.Debian" | grep . | grep -vxF -f "$source_dir/README.md" || true)
[ -z "$missing" ] || fail "README.md lacks these lines of README.Debian: $missing"
"$here/manual_page_test.sh" "$unpacked/usr/share/man/man1/seedlens.1.gz" "$unpacked/usr/bin/seedlens" >/dev/null \
  || fail "manual page: $("$here/manual_page_test.sh" "$unpacked/usr/share/man/man1/seedlens.1.gz" "$unpacked/usr/bin/seedlens")"

installed=$unpacked/usr/bin/seedlens
cd "$source_dir"
status=0
actual=$("$installed" show --format json examples/ 2>"$unpacked/stderr") || status=$?
[ "$status" -eq 0 ] || fail "installed seedlens show: exit status $status: $(cat "$unpacked/stderr")"
diff -u tests/tools/golden/show_examples.jsonl <(printf '%s\n' "$actual") || fail "installed seedlens show differs"
# --version names the version and the plug-in it would load: the installed one.
about=$("$installed" --version 2>&1) && grep -qx "seedlens $version" <<<"$about" \
  && grep -qF "$unpacked/usr/lib/seedlens/Seedlens.wdx" <<<"$about" \
  || fail "installed seedlens --version: $about"

[ "$failed" -eq 0 ] && echo "$(basename "$deb"): ok (Depends: $depends)"
exit "$failed"
