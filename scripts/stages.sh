# Sourced by the set-up commands: each stage says what it does and about how
# long it takes, then how long it took. Its output goes to a log; when it
# fails, the log's path and last lines are printed and the command stops.
#   stage NAME "WHAT IT DOES" "ABOUT HOW LONG" COMMAND...
# Logs: build/logs/NAME.log under the repository (SEEDLENS_LOG_DIR to move them).

stage_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stage_log_dir=${SEEDLENS_LOG_DIR:-$stage_root/build/logs}

stage_elapsed() {
  local seconds=$1
  if [ "$seconds" -ge 60 ]; then printf '%dm %02ds' $((seconds / 60)) $((seconds % 60)); else printf '%ds' "$seconds"; fi
}

stage() {
  local name=$1 what=$2 estimate=$3
  shift 3
  mkdir -p "$stage_log_dir"
  local log=$stage_log_dir/$name.log
  printf '%s (%s on a 2-core machine)... ' "$what" "$estimate" >&2
  local start=$SECONDS status
  # Not tested with || or if, where errexit would be off: a function's
  # commands stop at the first that fails.
  set +e
  (set -e; "$@") >"$log" 2>&1 </dev/null
  status=$?
  set -e
  local took
  took=$(stage_elapsed $((SECONDS - start)))
  if [ "$status" -ne 0 ]; then
    printf 'failed after %s (status %d)\nfull log: %s\n' "$took" "$status" "$log" >&2
    tail -n 25 "$log" >&2
    exit "$status"
  fi
  printf 'done in %s\n' "$took" >&2
}

# Configures PRESET with its own options and builds the TARGETs named, or all.
build_preset() {
  local preset=$1
  shift
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  cd "$stage_root"
  cmake --preset "$preset"
  cmake --build --preset "$preset" "${targets[@]}"
}
