#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A blind student's task, by keys only, with the Orca screen reader reading the windows:
# INPUT, OUTPUT and BRANCH 2 entered from the welcome screen, a start at 0 in manual
# mode, twelve steps, the INPUT answered, the OUTPUT heard. Each step must speak its phase,
# each Send to Memory the byte it stored; Orca speaks through orca_silent_speech.py, which
# notes each utterance, and keeps its debug log (--debug-file) beside.
# A window manager in the session of session.sh, whose private home lets Orca run with its
# defaults.
# Usage: orca_test.sh path/to/volpar
set -uo pipefail

volpar=$(realpath "$1")
needs="openbox orca xdotool"
. "$(dirname "$(realpath "$0")")/session.sh"
log=$work/orca.log
# Orca with its defaults, but speaking through a server that makes no sound.
mkdir -p "$XDG_DATA_HOME/orca"
cat >"$XDG_DATA_HOME/orca/user-settings.conf" <<'END'
{"general": {"speechServerFactory": "orca_silent_speech", "speechServerInfo": null},
 "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {},
   "keybindings": {}, "speechServerFactory": "orca_silent_speech"}},
 "pronunciations": {}, "keybindings": {}}
END
export PYTHONPATH=$(dirname "$(realpath "$0")") VOLPAR_ORCA_SPOKEN=$work/spoken.txt
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
orca --debug-file="$log" >"$work/orca.out" 2>&1 &
pids+=($!)

# What Orca has said since the last expectation, one utterance a line (the speech server
# writes it at once; the debug log, kept for a failure's diagnosis, comes in bursts).
heard=1
said() { tail -n +"$heard" "$VOLPAR_ORCA_SPOKEN" 2>/dev/null; }
failures=0
last=""
# hears PATTERN SECONDS: waits until Orca says something matching PATTERN (into $last).
hears() {
  local tries=$(($2 * 5 + 1))
  while [ $((tries--)) -gt 0 ]; do
    if last=$(said | grep -n -E -m1 -- "$1"); then
      heard=$((heard + ${last%%:*}))
      last=${last#*:}
      return 0
    fi
    sleep 0.2
  done
  return 1
}
# expect PATTERN [SECONDS] [WHAT]: as hears, and a failure when it does not come.
expect() {
  if hears "$1" "${2:-12}"; then
    echo "heard: $last"
    return 0
  fi
  echo "FAILED: ${3:-$1}: Orca said only:"
  said | sed 's/^/    /'
  failures=$((failures + 1))
  return 1
}
key() {
  xdotool key --delay 150 "$@"
  sleep 0.5
}
# last_was GLOB WHAT: a failure unless what Orca said last matches GLOB.
last_was() {
  # shellcheck disable=SC2053
  [[ $last == $1 ]] || { echo "FAILED: $2"; failures=$((failures + 1)); }
}
expect "Screen reader on" 30 "Orca starts" || skip "Orca does not start here"
"$volpar" >"$work/volpar.log" 2>&1 &
pids+=($!)
expect "VOLPAR" 30 "the welcome screen" || exit 1
sleep 1
key space
expect "Bit 1 text" 10 "the input screen, at Bit 1"

# One instruction typed bit by bit (each bit box hands the focus to the next), then
# Send to Memory (Alt+S), which gives the focus back to Bit 1.
enter() {
  xdotool type --delay 400 "$1"
  sleep 0.5
  key alt+s
  expect "notification $2 stored; next location" 12 "Send to Memory: $2"
}
enter 01100000 "Address 0: 01100000, INPUT 0"
enter 10000000 "Address 1: 10000000, OUTPUT 0"
enter 10100010 "Address 2: 10100010, BRANCH 2"

# Shift+Tab from Bit 1 reaches the memory, at the entry location; the arrow keys walk it.
key shift+Tab
expect "^Address 3: 00000000, ADD 0, entry location" 12 "the memory at the entry location"
key Up
expect "^Address 2: 10100010, BRANCH 2" 12 "Up reads the row above"
key Home
expect "^Address 0: 01100000, INPUT 0" 12 "Home reads the first row"
key Tab

key alt+e
expect "Start location text" 12 "Execute Program asks for the start"
xdotool type --delay 150 0
sleep 0.5
key Return  # OK
expect "Execution Screen" 12 "the execution screen"
key alt+o
expect "Close push button" 12 "the options"
# Up from Close: Stop for Output, the speed, Automatic, Manual.
for _ in 1 2 3 4; do key shift+Tab; sleep 0.7; done
expect "Manual clock advance" 12 "Manual clock advance reached"
expect "not selected radio button" 12 "a clock mode is a radio button"
key space
expect "^selected" 12 "manual chosen"
key alt+c
expect "Begin push button" 20 "Begin after the options"

# Twelve steps. Begin performs INPUT's T1 (the start performed its T0); INPUT waits at
# T6 with the focus in its decimal box, and Enter there resumes; then OUTPUT's phases.
for phase in 1 2 3 4 5 6; do
  key space
  expect "notification .*Clock phase T$phase" 20 "step to T$phase"
done
last_was "*waiting for a value*" "the INPUT's wait was not said"
xdotool type --delay 400 42
sleep 0.5
key Return
expect "Step push button" 12 "Step after the INPUT"
key space
expect "notification .*Clock phase T7.*S 42" 20 "T7 copies the 42 typed to S"
for phase in 0 1 2 3; do
  key space
  expect "notification .*Clock phase T$phase" 20 "step to T$phase"
done
# OUTPUT's fifth phase puts S in the output register.
for _ in 1 2 3 4 5; do
  key space
  expect "notification .*Clock phase" 12 "a phase of OUTPUT" || break
  case $last in *"Output 42"*) break ;; esac
done
last_was "*Output 42*" "the output 42 was never said"

# The readings are reached the same way, at the clock; the arrow keys walk them in the
# drawing's order (the clock, the lit lamps, the program counter, ...).
key shift+Tab
expect "^Clock: phase T5" 12 "the readings at the clock"
key Down Down
expect "^Program Counter: 2, binary 00010" 12 "Down reads the next readings"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "all heard"
