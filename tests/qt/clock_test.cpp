// SPDX-License-Identifier: GPL-3.0-or-later
// The clock as the windows drive it: ticks that fell due are delivered, a burst stops at
// once when a tick disables the timer or changes its interval, and no tick runs inside
// another handler. The rate itself is measured by the clock benchmark.
#include <chrono>
#include <thread>

#include "bridge_fixture.h"
#include "qt/clock_driver.h"
#include "qt/form_window.h"

namespace volpar::qttest {
namespace {

struct ClockForm : ui::Form {
  ClockForm() : ui::Form("ClockForm") { setClientSize(1500, 1500); }
  ui::Timer Timer1{*this, "Timer1"};
};

class Clock : public ::testing::Test {
 protected:
  void run(int intervalMs) {
    ticks = 0;
    gate.deliver([&] {
      form.Timer1.setInterval(intervalMs);
      form.Timer1.setEnabled(true);
    });
  }
  ClockForm form;
  qt::EventGate gate{[] {}, [] { return false; }};
  qt::FormWindow window{form, gate};
  int ticks = 0;
};

// Thirty ticks fall due at once; a tick that disables the timer or sets a long interval
// ends the burst there. No tick runs inside another handler. A rate set while the clock
// runs is taken at once, not after the tick due at the old one.
TEST_F(Clock, ABurstStopsWhenATickStopsTheTimerNoTickRunsInsideAHandlerAndANewRateIsTaken) {
  const struct {
    int lastTick;
    std::function<void()> stop;
  } cases[] = {{3, [this] { form.Timer1.setEnabled(false); }},
               {2, [this] { form.Timer1.setInterval(1000); }}};
  for (const auto& c : cases) {
    form.Timer1.onTimer = [&] {
      if (++ticks == c.lastTick) c.stop();
    };
    run(1);
    // Holds the event loop up, as a slow paint or a busy system would.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    QTest::qWait(100);
    EXPECT_EQ(ticks, c.lastTick);
    form.Timer1.setEnabled(false);
  }
  form.Timer1.onTimer = [this] { ++ticks; };
  run(1);
  int ticksInside = -1;
  gate.deliver([&] {
    const int before = ticks;
    QTest::qWait(50);  // a handler waiting in a message box lets events in
    ticksInside = ticks - before;
  });
  EXPECT_EQ(ticksInside, 0);
  QTest::qWait(50);
  EXPECT_GT(ticks, 0);
  form.Timer1.setEnabled(false);
  run(1000);
  gate.deliver([this] { form.Timer1.setInterval(1); });
  QTest::qWait(200);
  EXPECT_GT(ticks, 10);
  form.Timer1.setEnabled(false);
}

}  // namespace
}  // namespace volpar::qttest
