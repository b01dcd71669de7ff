#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program read over the accessibility bus (AT-SPI) as a screen reader reads it: a
# virtual display, a private session bus, Qt's accessibility switched on, then
# atspi_test.py. Exit 77 (skipped) where the display or the bus cannot start.
# Usage: atspi_test.sh path/to/volpar path/to/volpar-run
set -uo pipefail

volpar=$(realpath "$1")
volpar_run=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
skip() { echo "skipped: $*"; exit 77; }
for tool in xvfb-run dbus-daemon /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || skip "python3-pyatspi is not installed"
if [ -z "${VOLPAR_ATSPI_ON_DISPLAY:-}" ]; then
  VOLPAR_ATSPI_ON_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid") ||
  skip "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$bus
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0
export XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config
"$volpar" "$here/../data/a11y/sum_store.txt" >"$work/volpar.log" 2>&1 &
pid=$!
cleanup() {
  kill "$pid" 2>/dev/null
  pkill -P "$(cat "$work/bus.pid")" 2>/dev/null
  kill "$(cat "$work/bus.pid")" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The accessibility bus starts on the first request; without it there is nothing to test.
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.a11y.Bus.GetAddress >/dev/null 2>&1 || skip "the accessibility bus does not start"
timeout 120 /usr/bin/python3 "$here/atspi_test.py" "$volpar_run" "$here/../data/a11y/sum_store.txt"
status=$?
[ $status -eq 0 ] || cat "$work/volpar.log"
exit $status
