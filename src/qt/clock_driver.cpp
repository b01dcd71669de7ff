// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/clock_driver.h"

#include <algorithm>
#include <cmath>

#include "frontend/clock_pacing.h"

namespace volpar::qt {

namespace pacing = frontend::pacing;

ClockDriver::ClockDriver(ui::Timer& timer, EventGate& gate, QObject* parent)
    : QObject(parent), timer_(&timer), gate_(gate) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&wake_, &QTimer::timeout, this, [this] { wakeUp(); });
  clock_.start();
  sync();
}

double ClockDriver::nowMs() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e6; }

void ClockDriver::sync() {
  ++generation_;
  const bool run = timer_ && timer_->enabled() && timer_->Interval() > 0;
  if (!run) {
    running_ = false;
    wake_.stop();
    return;
  }
  if (running_ && interval_ == timer_->Interval()) return;
  running_ = true;
  interval_ = timer_->Interval();
  nextDueMs_ = pacing::firstDueMs(nowMs(), interval_);
  arm();
}

void ClockDriver::detach() {
  timer_ = nullptr;
  running_ = false;
  wake_.stop();
}

void ClockDriver::wakeUp() {
  if (!running_ || !timer_) return;
  if (gate_.busy()) {
    wake_.start(static_cast<int>(pacing::kBusyRetryMs));
    return;
  }
  lastWakeUpMs_ = nowMs();
  const pacing::Burst burst = pacing::burstAt(lastWakeUpMs_, nextDueMs_, interval_);
  nextDueMs_ = burst.dueMs;
  const std::uint64_t generation = generation_;
  for (int n = 0; n < burst.ticks; ++n) {
    nextDueMs_ += interval_;
    gate_.deliverTick([this] { timer_->tick(); });
    // The tick disabled the timer, changed its interval or discarded its form: sync()
    // or detach() has already set what comes next.
    if (generation != generation_ || !timer_) return;
  }
  arm();
}

void ClockDriver::arm() {
  const double wait = std::max(0.0, pacing::wakeAtMs(nextDueMs_, lastWakeUpMs_) - nowMs());
  wake_.start(static_cast<int>(std::ceil(wait)));
}

}  // namespace volpar::qt
