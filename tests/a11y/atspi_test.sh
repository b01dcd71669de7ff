#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program read over the accessibility bus (AT-SPI) as a screen reader reads it, by
# atspi_test.py, in the session of session.sh.
# Usage: atspi_test.sh path/to/volpar path/to/volpar-run
set -uo pipefail

volpar=$(realpath "$1")
volpar_run=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
needs=/usr/libexec/at-spi-bus-launcher
. "$here/session.sh"
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || skip "python3-pyatspi is not installed"
"$volpar" "$here/../data/a11y/sum_store.txt" >"$work/volpar.log" 2>&1 &
pids+=($!)

# The accessibility bus starts on the first request; without it there is nothing to test.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.a11y.Bus.GetAddress >/dev/null 2>&1 || skip "the accessibility bus does not start"
timeout 120 /usr/bin/python3 "$here/atspi_test.py" "$volpar_run" "$here/../data/a11y/sum_store.txt"
status=$?
[ $status -eq 0 ] || cat "$work/volpar.log"
exit $status
