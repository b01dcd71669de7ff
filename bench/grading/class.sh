#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Grading a class: 1,000 copies of a short loop program against an exercise of 10 tests of
# about 100 instructions each, graded in one call (--jobs 1, then --jobs N for every core),
# beside the old way of one volpar-run process per program and test.
#   bench/grading/class.sh build/volpar-run [PROGRAMS]
set -euo pipefail
runner=$(realpath "$1")
count=${2:-1000}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
here=$(dirname "$0")
cp "$here/countdown.txt" "$here/countdown.ini" "$dir/"
cd "$dir"
for i in $(seq -w 1 "$count"); do cp countdown.txt "student$i.txt"; done

seconds() { local start end; start=$(date +%s.%N); "$@" > /dev/null; end=$(date +%s.%N); echo "$end - $start" | bc; }

echo "programs: $count, tests: 10, instructions a test: about 100"
echo "one call, --jobs 1:        $(seconds "$runner" --exercise countdown.ini --jobs 1 student*.txt) s"
echo "one call, --jobs $(nproc):        $(seconds "$runner" --exercise countdown.ini --jobs "$(nproc)" student*.txt) s"
per_test() {
  for f in student*.txt; do
    for n in $(seq 30 39); do "$runner" "$f" --input "$n" --max-instructions 1000 > /dev/null; done
  done
}
echo "a process per program and test: $(seconds per_test) s"
