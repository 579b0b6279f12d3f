#!/usr/bin/env bash
# No libFuzzer artifact is kept in the repository: a fuzzer run by hand from
# the root leaves crash-*, leak-*, timeout-* and oom-* files there.
#   no_fuzzer_artifacts_test.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "not a git checkout: nothing to check"
  exit 0
fi
kept=$(git ls-files -- 'crash-*' 'leak-*' 'timeout-*' 'oom-*')
if [ -n "$kept" ]; then
  echo "fuzzer artifacts in the repository (git rm them; .gitignore keeps new ones out):"
  echo "$kept"
  exit 1
fi
echo "no fuzzer artifact in the repository"
