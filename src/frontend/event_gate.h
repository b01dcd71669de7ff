// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace volpar::frontend {

// Every event a front end hands to the program passes through here. A handler may open a
// modal box and so let further events in while it waits; the gate knows when the
// outermost event has finished, and only then are discarded screens destroyed.
class EventGate {
 public:
  // afterEvent runs once the outermost event has finished; ended says whether the
  // program has ended, after which no event is delivered; report shows the message of a
  // handler's failure to the user.
  EventGate(std::function<void()> afterEvent, std::function<bool()> ended,
            std::function<void(const std::string& message)> report);

  // Runs the handler as one event. A failure inside it is reported, never let loose in
  // the toolkit's event loop.
  void deliver(const std::function<void()>& handler);
  // A clock tick, delivered as any event; a front end may keep the changes it makes for
  // the next displayed frame.
  void deliverTick(const std::function<void()>& handler);
  // The event running now is a clock tick (not a user's event inside it).
  bool inTick() const { return tick_; }

  // A handler is running (perhaps waiting in a modal box).
  bool busy() const { return depth_ > 0; }
  bool ended() const { return ended_ && ended_(); }

 private:
  void deliverOne(const std::function<void()>& handler);

  std::function<void()> afterEvent_;
  std::function<bool()> ended_;
  std::function<void(const std::string&)> report_;
  int depth_ = 0;
  bool tick_ = false;
};

}  // namespace volpar::frontend
