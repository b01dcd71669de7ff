#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end smoke test of the real program, as built or as installed, on a virtual X display:
# a key on the welcome screen brings the input screen, and F1 there opens the help window (the
# help is found beside the program).
# Usage: smoke_test.sh [path/to/volpar]   (exit 77: the tools are missing, test skipped)
set -euo pipefail

volpar=$(realpath "${1:-build/volpar}")
for tool in xvfb-run xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ -z "${VOLPAR_SMOKE_ON_DISPLAY:-}" ]; then
  VOLPAR_SMOKE_ON_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$0" "$volpar"
fi

# The display may take a moment to accept clients.
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
work=$(mktemp -d)
export QT_ENABLE_HIGHDPI_SCALING=0 QT_QPA_PLATFORM=xcb
"$volpar" >"$work/volpar.log" 2>&1 &
pid=$!
cleanup() { kill "$pid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

fail() { echo "FAILED: $*"; cat "$work/volpar.log"; exit 1; }

# The window of the given title once it is shown (waits up to ten seconds).
window() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
welcome=$(window "VOLPAR Educational Systems") || fail "no welcome screen"
xdotool windowfocus --sync "$welcome" sleep 0.2 key space
input=$(window "VOLPAR Input Screen") || fail "no input screen"
xdotool windowfocus --sync "$input" sleep 0.2 key F1
help=$(window "VOLPAR Help") || fail "F1 opened no help"
eval "$(xdotool getwindowgeometry --shell "$help")"
[ "$WIDTH" -ge 600 ] || fail "F1 opened a message, not the help window"
echo "smoke test passed: the input screen after a key, the help after F1"
