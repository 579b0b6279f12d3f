#!/usr/bin/env bash
# Builds Seedlens and runs every test: the suite, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the concurrency test
# under ThreadSanitizer, the Windows builds' suites under Wine (64-bit, and
# 32-bit where 32-bit Wine is installed), the Debian package and the Windows
# zip made from those builds, and each fuzz target for a bounded time. Each
# stage prints one line on stderr; its log is in build/logs/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source "$root/scripts/stages.sh"

usage() {
  cat <<'USAGE'
Usage: scripts/test.sh [--quick]
Builds Seedlens and runs its tests; about 40 minutes on a fresh 2-core machine.
  --quick     the test suite of the release build alone (about 15 minutes)
  -h, --help  print this and exit
Environment: SEEDLENS_FUZZ_SECONDS, the time of each fuzz target (default 60).
Logs of each stage: build/logs/.
USAGE
}

quick=false
for argument in "$@"; do
  case "$argument" in
    --quick) quick=true ;;
    -h | --help) usage; exit 0 ;;
    *) echo "test.sh: unknown option '$argument'" >&2; usage >&2; exit 2 ;;
  esac
done
jobs=$(nproc)
# This run's logs alone are counted at the end.
rm -f "$stage_log_dir"/*.log

# ctest's count of passed tests, worth seeing at once.
summary() { grep -E '^[0-9]+% tests passed' "$stage_log_dir/$1.log" >&2 || true; }

stage_suite() {
  stage training "Training the optimisation profile" "about 2 min" scripts/train_profile.sh
  stage build-release "Building the release: plug-in, tests and benchmarks, with the profile" "about 10 min" \
    build_preset release
  stage suite "Running the test suite" "about 2 min" ctest --preset release -j "$jobs"
  summary suite
}

stage_sanitizers() {
  stage build-asan "Building under ASan and UBSan" "about 8 min" build_preset asan
  stage suite-asan "Running the suite under ASan and UBSan" "about 4 min" \
    env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs"
  summary suite-asan
  stage build-tsan "Building under TSan" "about 7 min" build_preset tsan
  stage suite-tsan "Running the concurrency test under TSan" "about 1 min" \
    env TSAN_OPTIONS=halt_on_error=1 ctest --preset tsan -R Concurrency
}

stage_windows() {
  stage build-windows "Building for Windows with MinGW-w64" "about 6 min" build_preset windows
  stage suite-windows "Running the Windows suite under Wine" "about 3 min" ctest --preset windows
  summary suite-windows
  stage windows32 "Building for 32-bit Windows; its suite under 32-bit Wine where that is installed" "about 7 min" \
    scripts/windows32.sh
  summary windows32
}

packages_check() {
  scripts/package.sh --no-build
  local version prefix
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
  tests/packaging/deb_package_test.sh "dist/seedlens_${version}_amd64.deb" "$version" "$root"
  tests/packaging/windows_zip_test.sh "dist/seedlens-${version}-windows.zip" "$version" "$root"
  for prefix in wine-prefix wine-prefix-win32; do WINEPREFIX="$root/build/$prefix" wineserver -k 2>/dev/null || true; done
}

stage_packages() {
  stage packages-check "Making and checking the .deb and the Windows zip" "about 1 min" packages_check
}

stage_fuzzing() {
  local seconds=${SEEDLENS_FUZZ_SECONDS:-60}
  stage fuzzing "Building the fuzz targets and running each for ${seconds}s" "about $((3 + 3 * seconds / 60)) min" \
    scripts/fuzz.sh "$seconds"
}

if $quick; then
  stage install "Installing what is missing with apt-get, if anything" "about 3 min for all of it" \
    scripts/install-deps.sh
  stage_suite
  exit 0
fi
stage install "Installing what is missing with apt-get, MinGW-w64 and Wine included" \
  "about 6 min for all of it" scripts/install-deps.sh --windows
stage_suite
stage_sanitizers
stage_windows
stage_packages
stage_fuzzing
# Every ctest run's count, in the plain form any reader of the log knows.
passed=0
for log in "$stage_log_dir"/*.log; do
  count=$(sed -n 's/^100% tests passed, 0 tests failed out of \([0-9]*\)$/\1/p' "$log")
  passed=$((passed + ${count:-0}))
done
echo "every test passed"
echo "$passed passed, 0 failed"
