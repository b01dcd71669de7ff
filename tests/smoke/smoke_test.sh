#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end smoke test of the real program on a virtual X display: a key on the welcome
# screen, F1 opens the help window, a byte typed and sent to memory, execution from address 0 in manual mode, two
# presses of Begin/Step, then the instruction register's cells are read off a screenshot.
# Usage: smoke_test.sh [path/to/volpar]   (exit 77: the tools are missing, test skipped)
set -euo pipefail

volpar=$(realpath "${1:-build/volpar}")
for tool in xvfb-run xdotool xdpyinfo import convert; do
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
focus() { xdotool windowfocus --sync "$1"; sleep 0.2; }
# A click at a point given in twips of the form's client area (15 twips to a pixel).
click() { xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1; sleep 0.3; }
# The colour at a point given in twips, as #RRGGBB.
pixel() {
  convert "$1" -crop "1x1+$(($2 / 15))+$(($3 / 15))" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1
}

welcome=$(window "VOLPAR Educational Systems") || fail "no welcome screen"
focus "$welcome"
xdotool key space
sleep 0.5
input=$(window "VOLPAR Input Screen") || fail "no input screen"
focus "$input"
xdotool key F1
help=$(window "VOLPAR Help") || fail "F1 opened no help"
eval "$(xdotool getwindowgeometry --shell "$help")"
[ "$WIDTH" -ge 600 ] || fail "F1 opened a message, not the help window"
focus "$input"
xdotool type --delay 80 00100101   # LOAD 5, one bit per box
xdotool key Return                 # Send to Memory, the default button
sleep 0.3
xdotool key alt+e                  # Execute Program
sleep 0.5
xdotool key Return                 # OK for start location 0
rexec=$(window "VOLPAR Execution Screen") || fail "no execution screen"
focus "$rexec"
click "$rexec" 10767 5287          # Options
click "$rexec" 7000 4567           # Manual clock advance
click "$rexec" 8887 6607           # Close
click "$rexec" 10867 1267          # Begin: T1
click "$rexec" 10867 1267          # Step: T2
sleep 0.5
import -window "$rexec" "$work/rexec.png"
[ -n "${VOLPAR_SMOKE_KEEP:-}" ] && cp "$work/rexec.png" "$VOLPAR_SMOKE_KEEP"

# SHAPE_IR(i): frame at 5880,1680; cells at Left 120, 480, 840, then 1560 + 360 * (i - 4),
# Top 360, 255 by 255. LOAD 5 is 00100101: red for 1, white for 0.
lefts=(120 480 840 1560 1920 2280 2640 3000)
bits=00100101
for i in $(seq 0 7); do
  x=$((5880 + ${lefts[$i]} + 127))
  y=$((1680 + 360 + 127))
  want=$([ "${bits:$i:1}" = 1 ] && echo "#FF0000" || echo "#FFFFFF")
  got=$(pixel "$work/rexec.png" "$x" "$y")
  [ "$got" = "$want" ] || fail "IR cell $((i + 1)): $got, expected $want"
done
echo "smoke test passed: the instruction register shows 00100101 after T2"
