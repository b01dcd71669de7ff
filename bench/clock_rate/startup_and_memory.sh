#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time of the real program to its welcome screen, and its resident memory, on a
# virtual X display: the median of ten starts (VOLPAR_STARTUP_RUNS to choose).
# Usage: bench/clock_rate/startup_and_memory.sh [path/to/volpar]
# For the installed program, unpack the package and pass its usr/bin/volpar.
set -euo pipefail
volpar=$(realpath "${1:-build/volpar}")
if [ -z "${VOLPAR_ON_DISPLAY:-}" ]; then
  VOLPAR_ON_DISPLAY=1 exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$0" "$volpar"
fi
# The display may take a moment to accept clients.
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
times=()
runs=${VOLPAR_STARTUP_RUNS:-10}
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$volpar" >/tmp/volpar-startup.log 2>&1 &
  pid=$!
  for _ in $(seq 2000); do
    kill -0 "$pid" 2>/dev/null || { echo "volpar did not start:"; cat /tmp/volpar-startup.log; exit 1; }
    xdotool search --onlyvisible --name "^VOLPAR Educational Systems\$" >/dev/null 2>&1 && break
    sleep 0.005
  done
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=$(( (sorted[(runs - 1) / 2] + sorted[runs / 2]) / 2 ))
echo "start-up to the welcome screen: median $median ms of $runs (runs: ${times[*]} ms)"
echo "resident memory with the three screens created: $((rss / 1024)) MiB ($rss kB)"
