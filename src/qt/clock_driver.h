#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

#include "qt/event_gate.h"
#include "ui/element.h"

namespace volpar::qt {

// Drives one Timer element on the user-interface thread. A QTimer wakes the loop; each
// wake-up delivers every tick that fell due since, measured on a steady clock, so the
// rate holds even where the toolkit's own timer drops ticks at 1 ms. A burst stops as
// soon as a tick disables the timer or changes its interval, and never exceeds
// kMaxTicksPerWakeUp, so the windows stay responsive. The screen changes at most once a
// displayed frame, so the loop wakes at most once a frame too (kMinWakeUpGapMs) and
// delivers the ticks that fell due meanwhile: the rate holds at a fraction of the
// wake-ups.
class ClockDriver : public QObject {
 public:
  static constexpr int kMaxTicksPerWakeUp = 50;
  static constexpr int kMinWakeUpGapMs = 16;
  // Arrears beyond this are forgiven (after a modal box, say) rather than made up.
  static constexpr std::int64_t kMaxLagNs = 100'000'000;

  ClockDriver(ui::Timer& timer, EventGate& gate, QObject* parent = nullptr);

  // The model's Enabled or Interval changed: enabling, or a new interval, starts a full
  // interval from now; disabling stops the ticks that follow.
  void sync();
  // The timer's form is going away: never touch it again.
  void detach();

  bool running() const { return running_; }

 private:
  void wakeUp();
  void arm(std::int64_t nowNs);

  ui::Timer* timer_;
  EventGate& gate_;
  QTimer wake_;
  QElapsedTimer clock_;
  bool running_ = false;
  int interval_ = 0;
  std::int64_t nextDueNs_ = 0;
  std::int64_t lastWakeUpNs_ = 0;
  std::uint64_t generation_ = 0;  // bumped by every sync, to notice one made by a tick
};

}  // namespace volpar::qt
