// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

#include "frontend/clock_pacing.h"
#include "qt/event_gate.h"
#include "ui/element.h"

namespace volpar::qt {

// Drives one Timer element on the user-interface thread, paced as every front end paces
// its clock (frontend/clock_pacing.h). A QTimer wakes the loop; each wake-up delivers
// the ticks that fell due since, measured on a steady clock. A burst stops as soon as a
// tick disables the timer or changes its interval.
class ClockDriver : public QObject {
 public:
  ClockDriver(ui::Timer& timer, EventGate& gate, QObject* parent = nullptr);

  // The model's Enabled or Interval changed: enabling, or a new interval, starts a full
  // interval from now; disabling stops the ticks that follow.
  void sync();
  // The timer's form is going away: never touch it again.
  void detach();

  bool running() const { return pacer_.running(); }

 private:
  void wakeUp();
  void arm();
  double nowMs() const;

  ui::Timer* timer_;
  EventGate& gate_;
  QTimer wake_;
  QElapsedTimer clock_;
  frontend::pacing::Pacer pacer_;
  std::uint64_t generation_ = 0;  // bumped by every sync, to notice one made by a tick
};

}  // namespace volpar::qt
