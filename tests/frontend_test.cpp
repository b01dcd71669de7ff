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

struct GateLog {
  int cleanUps = 0;
  bool ended = false;
  std::vector<std::string> messages;
  EventGate gate{[this] { ++cleanUps; }, [this] { return ended; },
                 [this](const std::string& m) { messages.push_back(m); }};
};

// A handler waiting in a modal box lets further events in: the clean-up waits for the
// outermost, and the gate is busy meanwhile. A tick's handler knows it runs in a tick; a
// user's event let in meanwhile does not.
TEST(EventGate, CleansUpOnceTheOutermostEventEnds) {
  GateLog log;
  bool busyInside = false, innerInTick = true, outerInTick = false;
  log.gate.deliverTick([&] {
    outerInTick = log.gate.inTick();
    log.gate.deliver([&] {
      busyInside = log.gate.busy();
      innerInTick = log.gate.inTick();
    });
    EXPECT_EQ(log.cleanUps, 0);
    EXPECT_TRUE(log.gate.inTick());
  });
  EXPECT_TRUE(busyInside);
  EXPECT_TRUE(outerInTick);
  EXPECT_FALSE(innerInTick);
  EXPECT_EQ(log.cleanUps, 1);
  EXPECT_FALSE(log.gate.busy());
  EXPECT_FALSE(log.gate.inTick());
}

// Whatever a handler throws becomes one message; the clean-up still runs and the next
// event is delivered as usual.
TEST(EventGate, AFailureIsReportedAsOneMessage) {
  const struct {
    const char* what;
    std::function<void()> fail;
    std::string message;
  } cases[] = {
      {"a standard failure", [] { throw std::runtime_error("disk full"); },
       "This action could not be completed:\ndisk full"},
      {"a failure without words", [] { throw std::runtime_error(""); },
       "This action could not be completed:\nan unexpected error occurred"},
      {"something not a standard exception", [] { throw 42; },
       "This action could not be completed:\nan unexpected error occurred"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GateLog log;
    log.gate.deliver([&] { log.gate.deliver(c.fail); });
    EXPECT_EQ(log.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(log.cleanUps, 1);
    EXPECT_FALSE(log.gate.busy());
    bool ran = false;
    log.gate.deliver([&] { ran = true; });
    EXPECT_TRUE(ran);
  }
}

// Once the program has ended nothing is delivered, and a failure of the handler that
// ended it is not shown over a program that is gone.
TEST(EventGate, NothingIsDeliveredAfterTheEnd) {
  GateLog log;
  log.gate.deliver([&] {
    log.ended = true;
    throw std::runtime_error("late");
  });
  EXPECT_TRUE(log.messages.empty());
  bool ran = false;
  log.gate.deliver([&] { ran = true; });
  log.gate.deliverTick([&] { ran = true; });
  EXPECT_FALSE(ran);
  EXPECT_EQ(log.cleanUps, 1);
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
