#!/usr/bin/env bash
# Builds Seedlens and runs every test: the suite, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the concurrency test
# under ThreadSanitizer, the Windows builds' suites under Wine (64-bit, and
# 32-bit where 32-bit Wine is installed), the Debian package and the Windows
# zip made from those builds, and each fuzz target for a bounded time.
#   scripts/test.sh [--quick]   --quick: the plain suite only
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" --windows
jobs=$(nproc)

echo "== test suite"
"$root/scripts/build.sh" release
ctest --preset release -j "$jobs"
[ "${1:-}" = "--quick" ] && exit 0

echo "== test suite under ASan and UBSan"
"$root/scripts/build.sh" asan >/dev/null
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs"

echo "== concurrency test under TSan"
"$root/scripts/build.sh" tsan >/dev/null
TSAN_OPTIONS=halt_on_error=1 ctest --preset tsan -R Concurrency

echo "== Windows build under Wine"
"$root/scripts/build.sh" windows >/dev/null
ctest --preset windows

echo "== 32-bit Windows build under 32-bit Wine"
"$root/scripts/windows32.sh"

echo "== packages of the release and Windows builds"
"$root/scripts/package.sh" --no-build >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
tests/packaging/deb_package_test.sh "dist/seedlens_${version}_amd64.deb" "$version" "$root"
tests/packaging/windows_zip_test.sh "dist/seedlens-${version}-windows.zip" "$version" "$root"
for prefix in wine-prefix wine-prefix-win32; do WINEPREFIX="$root/build/$prefix" wineserver -k 2>/dev/null || true; done

echo "== fuzzing"
"$root/scripts/fuzz.sh" "${SEEDLENS_FUZZ_SECONDS:-60}"
