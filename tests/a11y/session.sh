# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced first by the accessibility tests: the test runs itself again on a virtual display,
# with a private home and session bus (the accessibility bus starts on it) and Qt's
# accessibility on; at exit the processes in $pids and the bus end and the folder goes
# (VOLPAR_A11Y_KEEP=1 keeps it). $needs names the tools the test needs besides these.
# Exit 77 (skipped) where a tool is missing or the bus cannot start.
skip() { echo "skipped: $*"; exit 77; }
for tool in xvfb-run dbus-daemon $needs; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
if [ -z "${VOLPAR_A11Y_ON_DISPLAY:-}" ]; then
  VOLPAR_A11Y_ON_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$0" "$@"
fi
work=$(mktemp -d)
mkdir -m 700 "$work/home" "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_CACHE_HOME=$work/cache QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb \
  QT_ENABLE_HIGHDPI_SCALING=0
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid") ||
  skip "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$bus
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  pkill -P "$(cat "$work/bus.pid")" 2>/dev/null
  kill "$(cat "$work/bus.pid")" 2>/dev/null
  [ -n "${VOLPAR_A11Y_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
