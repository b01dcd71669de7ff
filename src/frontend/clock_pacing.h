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

// The driver loop both front ends run for one Timer element; they keep only the toolkit's
// timer that wakes it, and tell it the time.
class Pacer {
 public:
  // The timer as it stands now (enabled with a positive interval, or not). True when the
  // clock must be armed anew: it starts, or runs at a new interval from a full one now.
  bool sync(bool run, int intervalMs, double nowMs);
  void stop() { running_ = false; }
  bool running() const { return running_; }
  // A wake-up at nowMs delivers the ticks that fell due, one tick() each; tick() returns
  // false to end the burst (it stopped or changed its timer, or opened a box). The clock
  // is armed again afterwards while it runs.
  template <class Tick>
  void wakeUp(double nowMs, Tick tick) {
    lastWakeUpMs_ = nowMs;
    const Burst burst = burstAt(nowMs, nextDueMs_, intervalMs_);
    nextDueMs_ = burst.dueMs;
    for (int n = 0; n < burst.ticks && running_; ++n) {
      nextDueMs_ += intervalMs_;
      if (!tick()) break;
    }
  }
  // When the clock wakes next.
  double wakeAtMs() const { return pacing::wakeAtMs(nextDueMs_, lastWakeUpMs_); }

 private:
  bool running_ = false;
  int intervalMs_ = 0;
  double nextDueMs_ = 0;
  double lastWakeUpMs_ = 0;
};

}  // namespace volpar::frontend::pacing
