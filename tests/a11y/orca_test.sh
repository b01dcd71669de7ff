#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A blind student's task, by keys only, with the Orca screen reader reading the windows:
# INPUT, OUTPUT and BRANCH 2 entered from the welcome screen, a start at 0 in manual
# mode, twelve steps, the INPUT answered, the OUTPUT heard. The keys, and what Orca must say
# after them (each phase, each byte sent), are the steps of tests/data/a11y/orca_steps.txt.
# Orca speaks through orca_silent_speech.py, which notes each utterance, and keeps its debug
# log (--debug-file) beside; a window manager runs in the session of session.sh, whose
# private home lets Orca run with its defaults.
# Usage: orca_test.sh path/to/volpar
set -uo pipefail

volpar=$(realpath "$1")
needs="openbox orca xdotool"
here=$(dirname "$(realpath "$0")")
data=$here/../data/a11y
. "$here/session.sh"
log=$work/orca.log
# Orca with its defaults, but speaking through a server that makes no sound.
mkdir -p "$XDG_DATA_HOME/orca"
cp "$data/orca-settings.conf" "$XDG_DATA_HOME/orca/user-settings.conf"
export PYTHONPATH=$here VOLPAR_ORCA_SPOKEN=$work/spoken.txt
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
# Each step of orca_steps.txt: its keys pressed, then what Orca must say.
press() {
  local k
  for k in $1; do
    case $k in
      -) ;;
      type:*) xdotool type --delay 400 "${k#type:}" ;;
      *) xdotool key --delay 150 "$k" ;;
    esac
    sleep 0.7
  done
}
expect "Screen reader on" 30 "Orca starts" || skip "Orca does not start here"
"$volpar" >"$work/volpar.log" 2>&1 &
pids+=($!)
expect "VOLPAR" 30 "the welcome screen" || exit 1
sleep 1
while IFS='|' read -r -u 3 keys pattern seconds what; do
  [[ -z $keys || $keys == \#* ]] && continue
  pattern=${pattern# }
  press "$keys"
  expect "${pattern% }" "$seconds" "$what"
done 3<"$data/orca_steps.txt"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "all heard"
