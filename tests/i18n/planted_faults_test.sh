#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The catalog checks pass on a whole catalog and fail on each fault planted in a copy of it
# or of the English help, as the table tests/data/i18n/checks.tsv lists them.
# Usage: planted_faults_test.sh check_catalogs.py DATA_DIR ENGLISH_HELP
set -euo pipefail
check=$(realpath "$1") work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$2"/* "$work" && cp "$3" "$work/help.zev" && cd "$work"
msgen --output-file=de.po checks.pot && mkdir bad
failed=0
while IFS=$'\t' read -r want what file script args; do
  [[ $want == \#* ]] && continue
  if [ "$file" != - ] && sed "$script" "$file" >"bad/$file" && cmp -s "$file" "bad/$file"; then
    echo "FAILED: $what: nothing planted" && failed=1
  fi
  got=pass
  python3 "$check" $args >out 2>&1 || got=fail
  [ "$got" = "$want" ] || { echo "FAILED: $what: the check gave $got" && cat out && failed=1; }
done <checks.tsv
exit $failed
