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
  if (pacer_.sync(run, run ? timer_->Interval() : 0, nowMs())) arm();
  if (!pacer_.running()) wake_.stop();
}

void ClockDriver::detach() {
  timer_ = nullptr;
  pacer_.stop();
  wake_.stop();
}

void ClockDriver::wakeUp() {
  if (!pacer_.running() || !timer_) return;
  if (gate_.busy()) {
    wake_.start(static_cast<int>(pacing::kBusyRetryMs));
    return;
  }
  const std::uint64_t generation = generation_;
  pacer_.wakeUp(nowMs(), [&] {
    gate_.deliverTick([this] { timer_->tick(); });
    // The tick disabled the timer, changed its interval or discarded its form: sync()
    // or detach() has already set what comes next.
    return generation == generation_ && timer_;
  });
  if (generation == generation_ && pacer_.running()) arm();
}

void ClockDriver::arm() {
  const double wait = std::max(0.0, pacer_.wakeAtMs() - nowMs());
  wake_.start(static_cast<int>(std::ceil(wait)));
}

}  // namespace volpar::qt
