#!/usr/bin/env bash
# The manual page renders without a single troff warning, has the sections a
# manual page of a command needs, and documents every option that the
# program's own help names.
#   manual_page_test.sh PAGE SEEDLENS    PAGE: seedlens.1, or seedlens.1.gz
set -euo pipefail
page=$1
seedlens=$2
failed=0
source=$(if [[ "$page" == *.gz ]]; then zcat "$page"; else cat "$page"; fi)

warnings=$(groff -ww -man -Tutf8 <<<"$source" 2>&1 >/dev/null) || { echo "groff failed"; failed=1; }
[ -z "$warnings" ] || { echo "groff warns:"; echo "$warnings"; failed=1; }

for section in NAME SYNOPSIS DESCRIPTION OPTIONS OUTPUT "EXIT STATUS" EXAMPLES; do
  grep -qxE "\.SH \"?$section\"?" <<<"$source" || { echo "no section $section"; failed=1; }
done
grep -q '@[A-Z_]*@' <<<"$source" && { echo "a placeholder was not filled in"; failed=1; }

# Options as the help texts spell them: --long, and -x before a comma or space.
help=$({ "$seedlens" --help; "$seedlens" show --help; "$seedlens" fields --help; } 2>&1 || true)
options=$(grep -oE '(^|[ ,\[])(--[a-z][a-z-]*|-[a-zA-Z])\b' <<<"$help" | grep -oE -- '-.*' | sort -u)
[ -n "$options" ] || { echo "no option found in the help texts"; failed=1; }
for option in $options; do
  # troff spells a dash that must stay a dash as \-.
  grep -qF -- "${option//-/\\-}" <<<"$source" || { echo "option $option is not documented"; failed=1; }
done

[ "$failed" -eq 0 ] && echo "manual page: renders cleanly; documents $(echo $options)"
exit "$failed"
