// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "frontend/event_gate.h"

namespace volpar::qt {

// The front end's event gate, reporting a handler's failure in a message box over the
// windows as they stand.
class EventGate : public frontend::EventGate {
 public:
  // afterEvent runs once the outermost event has finished; ended says whether the
  // program has ended, after which no event is delivered.
  EventGate(std::function<void()> afterEvent, std::function<bool()> ended);
};

}  // namespace volpar::qt
