#!/usr/bin/env bash
# The set-up commands: test.sh reads its options before doing anything, and
# a stage says what it does and how long it took, and where its log is when
# it fails.
#   set_up_commands_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# A wrong option must not start a forty-minute run: the timeout is the alarm.
timeout 10 "$source_dir/scripts/test.sh" --help >"$work/out" 2>"$work/err"
[ $? -eq 0 ] && grep -q -- '--quick' "$work/out" || fail "--help: $(cat "$work/out" "$work/err")"
timeout 10 "$source_dir/scripts/test.sh" --quik >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 2 ] && grep -qF "unknown option '--quik'" "$work/err" || fail "--quik: status $status, $(cat "$work/err")"

# stage: one line before and after; on failure the log's path and last lines, and its status.
SEEDLENS_LOG_DIR=$work/logs bash -c '
  set -euo pipefail
  source "$1/scripts/stages.sh"
  works() { echo working; }
  breaks() { echo first; false; echo "not reached"; }
  stage good "Doing a good thing" "about 1 s" works
  stage bad "Doing a bad thing" "about 1 s" breaks
  echo "after the failed stage"
' _ "$source_dir" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "stage: status $status"
grep -qxE 'Doing a good thing \(about 1 s on a 2-core machine\)\.\.\. done in [0-9]+s' "$work/err" || fail "stage: $(cat "$work/err")"
grep -qF "full log: $work/logs/bad.log" "$work/err" || fail "stage: no log path: $(cat "$work/err")"
grep -qx first "$work/err" || fail "stage: no last lines"
grep -q "not reached\|after the failed stage" "$work/err" "$work/out" "$work/logs/bad.log" && fail "stage: went on after a failure"
grep -qx working "$work/logs/good.log" || fail "stage: no log of a good stage"

[ "$failed" -eq 0 ] && echo "set-up commands: ok"
exit "$failed"
