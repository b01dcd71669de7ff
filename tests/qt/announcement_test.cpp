// SPDX-License-Identifier: GPL-3.0-or-later
// What a student meets as the machine changes: at each phase of a run, what the screen
// reader is told and says, what the screen draws, the program text's running line and the
// Phase window; and what is said of a byte sent, a fast clock, a step back, the bit values.
#include <QLabel>
#include <QPlainTextEdit>
#include <map>
#include <sstream>

#include "bridge_fixture.h"
#include "qt/accessibility.h"
#include "qt/bit_values.h"
#include "support/data_table.h"

namespace volpar::qttest {
namespace {

// Notes what each notification object says as it shows: a screen reader speaks it then.
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
  std::vector<QString> said;
  Listener listener_{said};
};

// LOAD 5 (10000001), a branch to 3, OUTPUT, the end, stepped phase by phase: one sentence a
// phase, saying what the phase did in words, then what it changed, as the screen shows it.
TEST_F(Announcement, EachPhaseIsSaidDrawnAndExplained) {
  poke({{0, "00100101"}, {1, "10100011"}, {3, "10000000"}, {4, "10100100"}, {5, "10000001"}});
  manualRun();
  qt::ProgramTextWindow& text = frontEnd.showProgramText();
  text.showListing();
  qt::PhaseWindow& phase = frontEnd.showPhase();
  std::ostringstream out;
  std::map<std::string, std::string> before = seen(rexec());
  settle(2 * qt::MachineAccessibility::kAnnounceMs + 100);  // what the bytes poked made said
  for (int n = 1; n <= 25; ++n) {
    said.clear();
    step();
    // Said as soon as the phase is over; nothing more comes while the next is awaited.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !said.empty(); }, 2000)) << n;
    settle(qt::MachineAccessibility::kAnnounceMs + 100);
    const std::vector<QString> now = said;
    out << "== Step " << n << "\n";
    for (const QString& s : now) out << "said: " << s.toStdString() << "\n";
    for (const auto& [what, shown] : seen(rexec())) {
      if (before[what] != shown) out << what << ": " << shown << "\n";
      before[what] = shown;
    }
    text.refresh();
    out << "text line " << text.runningLine()
        << "; Phase window: " << phase.heading()->text().toStdString() << " | "
        << phase.transfer()->text().toStdString() << " | " << phase.sentence()->text().toStdString()
        << "\n";
  }
  QAction* f3 = actionFor(window(rexec()), Qt::Key_F3);
  ASSERT_NE(f3, nullptr);
  f3->trigger();
  settle();
  out << "== F3\n" << frontEnd.machineStateWindow()->view()->toPlainText().toStdString();
  testing::expectGolden("qt/phase_walk.txt", out.str());
}

// A byte sent to memory; at 1000 Hz, that the clock runs, then nothing until Pause, then
// where it stopped; a step back; F4.
TEST_F(Announcement, SendAFastClockAStepBackAndTheBitValuesAreSaid) {
  act([this] {
    for (int i = 1; i <= 8; ++i) input().Input_Bit(i).setText(i == 2 || i == 3 ? "1" : "0");
  });
  EXPECT_EQ(press(input().Command_Send_to_Memory),
            std::vector<QString>{"Address 0: 01100000, INPUT 0 stored; next location 1"});
  poke({{0, "10100000"}});  // BRANCH 0: runs for ever
  startRun();
  fullSpeed();
  EXPECT_EQ(press(rexec().Command_Begin_Step, 1000), std::vector<QString>{"Clock running"});
  const std::vector<QString> stop = press(rexec().Command_Pause, 1000);
  ASSERT_EQ(stop.size(), 1u);
  EXPECT_TRUE(stop[0].startsWith("Clock stopped, Clock phase T0")) << stop[0].toStdString();
  clockMode(rexec().manual_radio);
  step(2);
  const std::vector<QString> back = after([this] { platform.stepBack(); });
  ASSERT_EQ(back.size(), 1u);
  EXPECT_TRUE(back[0].startsWith("Back: Clock phase T1")) << back[0].toStdString();
  EXPECT_EQ(after([this] {
              if (QAction* f4 = actionFor(window(rexec()), Qt::Key_F4)) f4->trigger();
            }),
            std::vector<QString>{"Bit values shown"});
}

}  // namespace
}  // namespace volpar::qttest
