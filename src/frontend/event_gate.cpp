// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/event_gate.h"

#include <exception>
#include <optional>

namespace volpar::frontend {

namespace {

// What went wrong, for the message: a failure that does not say still gets one.
std::string reasonOf(const char* what) {
  const std::string reason = what ? what : "";
  return reason.empty() ? "an unexpected error occurred" : reason;
}

}  // namespace

EventGate::EventGate(std::function<void()> afterEvent, std::function<bool()> ended,
                     std::function<void(const std::string& message)> report)
    : afterEvent_(std::move(afterEvent)), ended_(std::move(ended)), report_(std::move(report)) {}

void EventGate::deliverTick(const std::function<void()>& handler) {
  const bool outer = tick_;
  tick_ = true;
  deliverOne(handler);
  tick_ = outer;
}

void EventGate::deliver(const std::function<void()>& handler) {
  const bool outer = tick_;
  tick_ = false;
  deliverOne(handler);
  tick_ = outer;
}

void EventGate::deliverOne(const std::function<void()>& handler) {
  if (ended()) return;
  ++depth_;
  // Anything thrown is caught: let loose, it would end the program or, in the page, leave
  // the depth counted up for good so that discarded screens were never destroyed.
  std::optional<std::string> failure;
  try {
    handler();
  } catch (const std::exception& e) {
    failure = reasonOf(e.what());
  } catch (...) {
    failure = reasonOf(nullptr);
  }
  --depth_;
  if (failure && !ended() && report_) report_("This action could not be completed:\n" + *failure);
  if (depth_ == 0 && afterEvent_) afterEvent_();
}

}  // namespace volpar::frontend
