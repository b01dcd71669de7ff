// The clock as the windows drive it: ticks that fell due are delivered, a burst stops at
// once when a tick disables the timer or changes its interval, and no tick runs inside
// another handler. The rate itself is measured by the clock benchmark; the bounds here
// are loose on purpose.
#include <QElapsedTimer>
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

TEST_F(Clock, OneMillisecondForASecondGivesAboutAThousandTicks) {
  run(1);
  QTest::qWait(1000);
  form.Timer1.setEnabled(false);
  EXPECT_GT(ticks, 700);
  EXPECT_LT(ticks, 1100);
}

TEST_F(Clock, NoTickComesBeforeItsInterval) {
  QElapsedTimer since;
  qint64 firstTickMs = -1;
  onTick = [&] {
    if (firstTickMs < 0) firstTickMs = since.elapsed();
  };
  since.start();
  run(200);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));
  EXPECT_GE(firstTickMs, 199);
}

TEST_F(Clock, ABurstOfArrearsStopsWhenATickDisablesTheTimer) {
  onTick = [this] {
    if (ticks == 3) form.Timer1.setEnabled(false);
  };
  run(1);
  stall(30);  // thirty ticks fall due at once
  QTest::qWait(20);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(window.clockOf(form.Timer1)->running());
}

TEST_F(Clock, ATickThatChangesTheIntervalStartsTheNewIntervalFromThen) {
  onTick = [this] {
    if (ticks == 2) form.Timer1.setInterval(1000);
  };
  run(1);
  stall(30);
  QTest::qWait(100);
  EXPECT_EQ(ticks, 2);
}

TEST_F(Clock, ArrearsAreBoundedPerWakeUp) {
  run(1);
  stall(400);  // far more ticks fell due than one wake-up may deliver
  QApplication::processEvents();
  EXPECT_GE(ticks, 1);
  EXPECT_LE(ticks, qt::ClockDriver::kMaxTicksPerWakeUp);
  form.Timer1.setEnabled(false);
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

TEST_F(Clock, ReenablingStartsAFullIntervalAgain) {
  QElapsedTimer since;
  qint64 firstTickMs = -1;
  onTick = [&] {
    if (firstTickMs < 0) firstTickMs = since.elapsed();
  };
  run(100);
  QTest::qWait(70);
  since.start();
  form.Timer1.setEnabled(false);
  form.Timer1.setEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));
  EXPECT_GE(firstTickMs, 99);
}

// The execution screen's own clock: Begin in automatic mode at the fastest rate runs
// phases from the timer, and the screen's cells follow.
TEST_F(BridgeFixture, ExecutionClockRunsPhasesAtTheFastestRate) {
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
  QTest::qWait(500);
  act([this] { rexec().Command_Pause.click(); });
  QTest::qWait(50);
  EXPECT_GT(phases, 350);
  EXPECT_FALSE(rexec().Timer1.enabled());  // paused at the next T0
  EXPECT_EQ(render(rexec()).pixelColor(window(rexec()).pixelRect(rexec().Shape_Clock(0)).center()),
            QColor(0, 255, 255));
}

}  // namespace
}  // namespace volpar::qttest
