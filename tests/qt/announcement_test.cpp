// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says as the machine changes: it speaks a window's notification
// object each time that shows, and the tests note what it says then.
#include <QAccessible>
#include <QAction>

#include "bridge_fixture.h"
#include "qt/accessibility.h"
#include "qt/bit_values.h"

namespace volpar::qttest {
namespace {

// Notes what each notification object says as it shows.
class Listener : public QObject {
 public:
  explicit Listener(std::vector<QString>& said) : said_(said) {}
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && object->objectName() == "volpar-news")
      said_.push_back(static_cast<QWidget*>(object)->accessibleName());
    return false;
  }

 private:
  std::vector<QString>& said_;
};

class Announcement : public BridgeFixture {
 protected:
  void SetUp() override {
    qApp->installEventFilter(&listener_);
    hideWelcome();
  }
  void TearDown() override {
    qApp->removeEventFilter(&listener_);
    qt::showBitValues(false);
  }
  // What is said within a moment of a user's action (what came before is let go first).
  std::vector<QString> after(const std::function<void()>& action,
                             int wait = 2 * qt::MachineAccessibility::kAnnounceMs + 100) {
    settle(wait);
    said.clear();
    act(action);
    settle(wait);
    return said;
  }
  std::vector<QString> press(ui::CommandButton& button, int wait = 600) {
    return after([&button] { button.click(); }, wait);
  }
  void clockMode(ui::OptionButton& mode) {
    act([this, &mode] {
      rexec().Command_Options.click();
      mode.click();
      rexec().Command_Options_Close.click();
    });
  }

  std::vector<QString> said;
  Listener listener_{said};
};

// LOAD 5 of 10000001, step by step: one sentence a phase, what the phase did in words, then
// what it changed.
TEST_F(Announcement, EachPhaseIsSaidOnceWithWhatItDidAndChanged) {
  poke({{0, "00100101"}, {5, "10000001"}});
  startRun();
  clockMode(rexec().manual_radio);
  const std::vector<QString> phases = {
      "Clock phase T1, AR ← PC (Copy Program Counter To Address Register)",
      "Clock phase T2, IR ← M[PC] (Copy Memory to Instruction Register: the word at the "
      "program counter is fetched and decoded), Instruction Register 37, binary 00100101, "
      "LOAD 5, Decoder LOAD",
      "Clock phase T3, PC ← PC + 1 (Increment Program Counter: the PC names the next word in "
      "memory), Program Counter 1, binary 00001",
      "Clock phase T4, AR ← IR(address) (Copy Instruction Register to Address Register: the "
      "address field goes to AR), Lit lamps Copy Instruction Register to Address Register, "
      "Address Register 5, binary 00101",
      "Clock phase T5, S ← M[AR] (Copy Memory to S: the word at the address goes to S), Lit "
      "lamps Copy Memory to S, S 129, binary 10000001, Negative flag 1",
  };
  for (const QString& phase : phases) {
    const std::vector<QString> now = press(rexec().Command_Begin_Step);
    ASSERT_EQ(now.size(), 1u) << phase.toStdString();
    EXPECT_TRUE(now[0].endsWith(phase)) << now[0].toStdString();
  }
}

TEST_F(Announcement, SendToMemorySaysTheByteStoredAndTheNextLocation) {
  act([this] {
    for (int i = 1; i <= 8; ++i) input().Input_Bit(i).setText(i == 2 || i == 3 ? "1" : "0");
  });
  EXPECT_EQ(press(input().Command_Send_to_Memory),
            std::vector<QString>{"Address 0: 01100000, INPUT 0 stored; next location 1"});
}

// At 1000 Hz: that the clock runs, then nothing until Pause, then where it stopped.
TEST_F(Announcement, AFastClockIsQuietUntilItStops) {
  poke({{0, "10100000"}});  // BRANCH 0: runs for ever
  startRun();
  fullSpeed();
  EXPECT_EQ(press(rexec().Command_Begin_Step, 1000), std::vector<QString>{"Clock running"});
  const std::vector<QString> stop = press(rexec().Command_Pause, 1000);
  ASSERT_EQ(stop.size(), 1u);
  EXPECT_TRUE(stop[0].startsWith("Clock stopped, Clock phase T0")) << stop[0].toStdString();
}

TEST_F(Announcement, AStepBackAndShowBitValuesAreSaid) {
  poke({{0, "00100101"}});
  startRun();
  clockMode(rexec().manual_radio);
  press(rexec().Command_Begin_Step);
  press(rexec().Command_Begin_Step);
  const std::vector<QString> back = after([this] { platform.stepBack(); });
  ASSERT_EQ(back.size(), 1u);
  EXPECT_TRUE(back[0].startsWith("Back: Clock phase T1")) << back[0].toStdString();

  const auto f4 = [this] {
    for (QAction* a : window(rexec()).actions()) {
      if (a->shortcut() == QKeySequence(Qt::Key_F4)) a->trigger();
    }
  };
  EXPECT_EQ(after(f4), std::vector<QString>{"Bit values shown"});
}

}  // namespace
}  // namespace volpar::qttest
