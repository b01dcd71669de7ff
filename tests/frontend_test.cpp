// SPDX-License-Identifier: GPL-3.0-or-later
// The rules every front end follows, the windows and the page alike: how an event is
// delivered, how the clock is paced, how a caption is narrowed to fit.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
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

// The driver loop both front ends run: ticks delivered at each wake-up as they fell due, a
// tick that says stop ends the burst, a new interval starts a full one from then.
TEST(ClockPacer, DeliversTheTicksDueAndFollowsTheTimer) {
  pacing::Pacer pacer;
  EXPECT_FALSE(pacer.sync(false, 10, 0));
  EXPECT_TRUE(pacer.sync(true, 10, 0));
  EXPECT_FALSE(pacer.sync(true, 10, 5)) << "nothing changed: the clock keeps its pace";
  EXPECT_DOUBLE_EQ(pacer.wakeAtMs(), 16) << "at most one wake-up a frame";
  std::vector<int> bursts;
  const auto wake = [&](double now, int stopAfter = 1000) {
    int n = 0;
    pacer.wakeUp(now, [&] { return ++n < stopAfter; });
    bursts.push_back(n);
  };
  wake(35);     // due at 10, 20, 30
  wake(45);     // 40
  wake(90, 2);  // 50, 60: the second tick stops it; 70 waits
  EXPECT_EQ(bursts, (std::vector<int>{3, 1, 2}));
  EXPECT_DOUBLE_EQ(pacer.wakeAtMs(), 106) << "the next tick fell due at 70; a frame on";
  EXPECT_TRUE(pacer.sync(true, 100, 200));
  wake(299), wake(300);
  EXPECT_EQ(bursts.back(), 1) << "a full new interval from the change";
  pacer.stop();
  EXPECT_FALSE(pacer.running());
}

// The caption is tried at each step, widest first, and keeps the first that fits; one
// that fits at none keeps its full width. Per case: the widest percentage at which the
// caption fits, the widths tried, the width chosen.
TEST(CaptionFit, NarrowsInStepsDownToSeventyPercent) {
  std::string seen;
  for (int fitsFrom : {100, 90, 70, 60}) {
    seen += std::to_string(fitsFrom) + ":";
    const int chosen = fitCaption([&](int percent) {
      seen += " " + std::to_string(percent);
      return percent <= fitsFrom;
    });
    seen += " -> " + std::to_string(chosen) + "\n";
  }
  EXPECT_EQ(seen,
            "100: 100 -> 100\n90: 100 94 88 -> 88\n70: 100 94 88 82 76 70 -> 70\n"
            "60: 100 94 88 82 76 70 -> 100\n");
}

// Largest first, then least narrowed: the first font at which the caption fits.
TEST(CaptionFit, NarrowsThenMakesSmaller) {
  std::vector<std::string> tried;
  const CaptionFont font = fitCaptionFont(8, [&](CaptionFont f) {
    tried.push_back(std::to_string(f.pixels) + "@" + std::to_string(f.stretch));
    return f.pixels <= 7 && f.stretch <= 94;
  });
  EXPECT_EQ(std::tuple(font.pixels, font.stretch, tried.size()), std::tuple(7, 94, 8u))
      << "six widths at 8 pixels, two at 7";
  const CaptionFont none = fitCaptionFont(7, [](CaptionFont) { return false; });
  EXPECT_EQ(std::tuple(none.pixels, none.stretch), std::tuple(7, 100))
      << "a caption that fits at none keeps its font and width";
}

}  // namespace
}  // namespace volpar::frontend
