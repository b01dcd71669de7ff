// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/clock_pacing.h"

#include <algorithm>

namespace volpar::frontend::pacing {

double firstDueMs(double nowMs, double intervalMs) { return nowMs + intervalMs; }

Burst burstAt(double nowMs, double dueMs, double intervalMs) {
  Burst burst{0, std::max(dueMs, nowMs - kMaxLagMs)};
  if (intervalMs <= 0) return burst;
  // Counted by adding, as the front end advances the due time tick by tick.
  for (double due = burst.dueMs; burst.ticks < kMaxTicksPerWakeUp && nowMs >= due;
       due += intervalMs) {
    ++burst.ticks;
  }
  return burst;
}

double wakeAtMs(double dueMs, double lastWakeUpMs) {
  return std::max(dueMs, lastWakeUpMs + kMinWakeUpGapMs);
}

bool Pacer::sync(bool run, int intervalMs, double nowMs) {
  if (!run) {
    running_ = false;
    return false;
  }
  if (running_ && intervalMs_ == intervalMs) return false;
  running_ = true;
  intervalMs_ = intervalMs;
  nextDueMs_ = firstDueMs(nowMs, intervalMs);
  return true;
}

}  // namespace volpar::frontend::pacing
