// SPDX-License-Identifier: GPL-3.0-or-later
// The rules every front end follows, the windows and the page alike: how an event is
// delivered, how the clock is paced, how a caption is narrowed to fit.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "frontend/caption_fit.h"
#include "frontend/clock_pacing.h"
#include "frontend/event_gate.h"
#include "support/data_table.h"

namespace volpar::frontend {
namespace {

// What the gate did, in order: each clean-up and message, and the gate's state as each
// handler saw it.
struct GateLog {
  std::string trace;
  bool ended = false;
  EventGate gate{[this] { trace += "clean-up; "; }, [this] { return ended; },
                 [this](const std::string& m) { trace += "message " + m + "; "; }};
  void see(const std::string& where) {
    trace += where + (gate.busy() ? " busy" : " idle") + (gate.inTick() ? " in tick; " : "; ");
  }
};

// A handler waiting in a modal box lets further events in: the clean-up waits for the
// outermost, and the gate is busy meanwhile. A tick's handler knows it runs in a tick; a
// user's event let in meanwhile does not. Once the program has ended nothing is delivered,
// and a failure of the handler that ended it is not shown over a program that is gone.
TEST(EventGate, CleansUpOnceTheOutermostEventEndsAndDeliversNothingAfterTheEnd) {
  GateLog log;
  log.gate.deliverTick([&] {
    log.see("tick");
    log.gate.deliver([&] { log.see("click"); });
    log.see("tick");
  });
  log.see("after");
  EXPECT_EQ(log.trace, "tick busy in tick; click busy; tick busy in tick; clean-up; after idle; ");
  log.trace.clear();
  log.gate.deliver([&] {
    log.ended = true;
    throw std::runtime_error("late");
  });
  log.gate.deliver([&] { log.see("click"); });
  log.gate.deliverTick([&] { log.see("tick"); });
  EXPECT_EQ(log.trace, "clean-up; ");
}

// Whatever a handler throws becomes one message; the clean-up still runs and the next
// event is delivered as usual.
TEST(EventGate, AFailureIsReportedAsOneMessage) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { throw std::runtime_error("disk full"); }, "disk full"},
      {[] { throw std::runtime_error(""); }, "an unexpected error occurred"},
      {[] { throw 42; }, "an unexpected error occurred"}};
  for (const auto& [fail, message] : cases) {
    GateLog log;
    log.gate.deliver([&] { log.gate.deliver(fail); });
    log.gate.deliver([&] { log.see("next"); });
    EXPECT_EQ(log.trace, "message This action could not be completed:\n" + message +
                             "; clean-up; next busy; clean-up; ");
  }
}

// The cases in tests/data/clock/bursts.txt.
TEST(ClockPacing, AWakeUpDeliversTheTicksThatFellDueInBurstsOfFifty) {
  for (const auto& c : testing::readTable("clock/bursts.txt")) {
    SCOPED_TRACE(c[0]);
    const pacing::Burst burst = pacing::burstAt(std::stod(c[1]), std::stod(c[2]), std::stod(c[3]));
    EXPECT_EQ(burst.ticks, std::stoi(c[4]));
    EXPECT_DOUBLE_EQ(burst.dueMs, std::stod(c[5]));
  }
}

// The clock wakes for the next tick, but not twice within a displayed frame.
TEST(ClockPacing, WakesForTheNextTickAtMostOnceAFrame) {
  const struct {
    double due, lastWakeUp, wakeAt;
  } cases[] = {{101, 100, 116}, {116, 100, 116}, {150, 100, 150}, {10, -1000, 10}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(pacing::wakeAtMs(c.due, c.lastWakeUp), c.wakeAt);
  EXPECT_DOUBLE_EQ(pacing::firstDueMs(500, 50), 550);  // a full interval from now
}

// The caption is tried at each step, widest first, and keeps the first that fits; one
// that fits at none keeps its full width.
TEST(CaptionFit, NarrowsInStepsDownToSeventyPercent) {
  const struct {
    int fitsFrom;  // the widest percentage at which the caption fits
    int chosen;
    std::vector<int> tried;
  } cases[] = {
      {100, 100, {100}},
      {90, 88, {100, 94, 88}},
      {70, 70, {100, 94, 88, 82, 76, 70}},
      {60, 100, {100, 94, 88, 82, 76, 70}},
  };
  for (const auto& c : cases) {
    std::vector<int> tried;
    const int chosen = fitCaption([&](int percent) {
      tried.push_back(percent);
      return percent <= c.fitsFrom;
    });
    EXPECT_EQ(chosen, c.chosen) << c.fitsFrom;
    EXPECT_EQ(tried, c.tried) << c.fitsFrom;
  }
}

}  // namespace
}  // namespace volpar::frontend
