// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace volpar::frontend::pacing {

// How a front end paces a Timer element's ticks on a steady clock, in milliseconds. Each
// wake-up delivers every tick that fell due since, so the rate holds where the toolkit's
// own timer drops ticks or wakes late. A burst never exceeds kMaxTicksPerWakeUp, so the
// windows stay responsive. The screen changes at most once a displayed frame, so the
// clock wakes at most once a frame too (kMinWakeUpGapMs) and delivers the ticks that fell
// due meanwhile: the rate holds at a fraction of the wake-ups.
inline constexpr int kMaxTicksPerWakeUp = 50;
inline constexpr double kMinWakeUpGapMs = 16;
// Arrears beyond this are forgiven (after a modal box, say) rather than made up.
inline constexpr double kMaxLagMs = 100;
// A tick never runs inside another handler: while one runs, the clock looks again soon.
inline constexpr double kBusyRetryMs = 5;

// The ticks to deliver at a wake-up: how many, and when the first of them fell due (the
// one due at dueMs, or later when arrears are forgiven). The tick after them falls due
// one interval after the last.
struct Burst {
  int ticks = 0;
  double dueMs = 0;
};

// Enabling the timer, or giving it a new interval, starts a full interval from now.
double firstDueMs(double nowMs, double intervalMs);
// A wake-up at nowMs with the next tick due at dueMs.
Burst burstAt(double nowMs, double dueMs, double intervalMs);
// When to wake for the tick due at dueMs, the clock having last woken at lastWakeUpMs.
double wakeAtMs(double dueMs, double lastWakeUpMs);

}  // namespace volpar::frontend::pacing
