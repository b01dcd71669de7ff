// The clock as the windows drive it: ticks that fell due are delivered, a burst stops at
// once when a tick disables the timer or changes its interval, and no tick runs inside
// another handler. The rate itself is measured by the clock benchmark; the bounds here
// are loose on purpose.
#include <chrono>
#include <thread>

#include "bridge_fixture.h"
#include "ui/qt/clock_driver.h"
#include "ui/qt/form_window.h"

namespace volpar::qttest {
namespace {

struct ClockForm : ui::Form {
  ClockForm() : ui::Form("ClockForm") { setClientSize(1500, 1500); }
  ui::Timer Timer1{*this, "Timer1"};
};

class Clock : public ::testing::Test {
 protected:
  Clock() {
    form.Timer1.onTimer = [this] {
      ++ticks;
      if (onTick) onTick();
    };
  }
  void run(int intervalMs) {
    ticks = 0;
    gate.deliver([&] {
      form.Timer1.setInterval(intervalMs);
      form.Timer1.setEnabled(true);
    });
  }
  // Holds the event loop up, as a slow paint or a busy system would.
  static void stall(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

  ClockForm form;
  qt::EventGate gate{[] {}, [] { return false; }};
  qt::FormWindow window{form, gate};
  int ticks = 0;
  std::function<void()> onTick;
};

// Thirty ticks fall due at once; a tick that disables the timer or sets a long interval
// ends the burst there.
TEST_F(Clock, ABurstOfArrearsStopsWhenATickStopsTheTimer) {
  const struct {
    int lastTick;
    std::function<void()> stop;
  } cases[] = {{3, [this] { form.Timer1.setEnabled(false); }},
               {2, [this] { form.Timer1.setInterval(1000); }}};
  for (const auto& c : cases) {
    onTick = [&] {
      if (ticks == c.lastTick) c.stop();
    };
    run(1);
    stall(30);
    QTest::qWait(100);
    EXPECT_EQ(ticks, c.lastTick);
    form.Timer1.setEnabled(false);
  }
  onTick = nullptr;
}

TEST_F(Clock, NoTickRunsInsideAnotherHandler) {
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
}

// Begin in automatic mode at 1000 Hz: a second of the execution screen's clock runs
// about a thousand phases, and Pause stops at the next T0.
TEST_F(BridgeFixture, ExecutionClockRunsAThousandPhasesASecond) {
  hideWelcome();
  typeByte("10100000");  // BRANCH 0: runs forever
  act([this] { input().Command_Send_to_Memory.click(); });
  act([this] { input().Command_Execute_Program.click(); });
  act([this] { input().Command_OK_For_Start_Location.click(); });
  act([this] { rexec().Command_Options.click(); });
  act([this] { rexec().time_scroll.setValue(1000); });
  act([this] { rexec().Command_Options_Close.click(); });
  ASSERT_EQ(rexec().Timer1.Interval(), 1);
  int phases = 0;
  auto phase = rexec().Timer1.onTimer;
  rexec().Timer1.onTimer = [&] {
    ++phases;
    phase();
  };
  act([this] { rexec().Command_Begin_Step.click(); });
  QTest::qWait(1000);
  act([this] { rexec().Command_Pause.click(); });
  EXPECT_GT(phases, 700);
  EXPECT_LT(phases, 1100);
  QTest::qWait(50);
  EXPECT_FALSE(rexec().Timer1.enabled());
  EXPECT_EQ(colorAt(render(rexec()), rexec().Shape_Clock(0)), QColor(0, 255, 255));
}

}  // namespace
}  // namespace volpar::qttest
