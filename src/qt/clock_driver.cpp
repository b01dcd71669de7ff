#include "qt/clock_driver.h"

#include <algorithm>

namespace volpar::qt {

namespace {
constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr int kBusyRetryMs = 5;
}  // namespace

ClockDriver::ClockDriver(ui::Timer& timer, EventGate& gate, QObject* parent)
    : QObject(parent), timer_(&timer), gate_(gate) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&wake_, &QTimer::timeout, this, [this] { wakeUp(); });
  clock_.start();
  sync();
}

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
  const std::int64_t now = clock_.nsecsElapsed();
  nextDueNs_ = now + interval_ * kNsPerMs;
  arm(now);
}

void ClockDriver::detach() {
  timer_ = nullptr;
  running_ = false;
  wake_.stop();
}

void ClockDriver::wakeUp() {
  if (!running_ || !timer_) return;
  // A tick never runs inside another handler, e.g. one waiting in a message box.
  if (gate_.busy()) {
    wake_.start(kBusyRetryMs);
    return;
  }
  std::int64_t now = clock_.nsecsElapsed();
  lastWakeUpNs_ = now;
  nextDueNs_ = std::max(nextDueNs_, now - kMaxLagNs);
  const std::uint64_t generation = generation_;
  for (int n = 0; n < kMaxTicksPerWakeUp && now >= nextDueNs_; ++n) {
    nextDueNs_ += interval_ * kNsPerMs;
    gate_.deliverTick([this] { timer_->tick(); });
    // The tick disabled the timer, changed its interval or discarded its form: sync()
    // or detach() has already set what comes next.
    if (generation != generation_ || !timer_) return;
    now = clock_.nsecsElapsed();
  }
  arm(now);
}

void ClockDriver::arm(std::int64_t nowNs) {
  const std::int64_t wakeAt = std::max(nextDueNs_, lastWakeUpNs_ + kMinWakeUpGapMs * kNsPerMs);
  const std::int64_t wait = std::max<std::int64_t>(0, wakeAt - nowNs);
  wake_.start(static_cast<int>((wait + kNsPerMs - 1) / kNsPerMs));
}

}  // namespace volpar::qt
