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

// A byte sent to memory. Then LOAD 5 (10000001), a branch to 3, OUTPUT, the end, stepped
// phase by phase: one sentence a phase, saying what the phase did in words, then what it
// changed, as the screen shows it. Then F3, a step back and F4; at 1000 Hz, that the clock
// runs, then nothing until Pause, then where it stopped; the state window (F3) is told a
// few times a second at most meanwhile.
TEST_F(Announcement, EachPhaseIsSaidDrawnAndExplained) {
  std::ostringstream out;
  const auto note = [&out](const std::string& what, const std::vector<QString>& now) {
    out << "== " << what << "\n";
    for (const QString& s : now) out << "said: " << s.toStdString() << "\n";
  };
  act([this] {
    for (int i = 1; i <= 8; ++i) input().Input_Bit(i).setText(i == 2 || i == 3 ? "1" : "0");
  });
  note("Send", press(input().Command_Send_to_Memory));
  poke({{0, "00100101"}, {1, "10100011"}, {3, "10000000"}, {4, "10100100"}, {5, "10000001"}});
  manualRun();
  qt::ProgramTextWindow& text = frontEnd.showProgramText();
  text.showListing();
  qt::PhaseWindow& phase = frontEnd.showPhase();
  std::map<std::string, std::string> before = seen(rexec());
  settle(2 * qt::MachineAccessibility::kAnnounceMs + 100);  // what the bytes poked made said
  for (int n = 1; n <= 25; ++n) {
    said.clear();
    step();
    // Said as soon as the phase is over; nothing more comes while the next is awaited.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !said.empty(); }, 2000)) << n;
    settle(qt::MachineAccessibility::kAnnounceMs + 100);
    note("Step " + std::to_string(n), said);
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
  QPlainTextEdit* state = frontEnd.machineStateWindow()->view();
  out << "== F3\n" << state->toPlainText().toStdString();
  int told = 0;  // the state window is told with the screen reader, and shows it
  QObject::connect(state, &QPlainTextEdit::textChanged, [&told] { ++told; });
  note("Step back", after([this] { platform.stepBack(); }));
  out << "F3 told " << told << ": " << state->toPlainText().section('\n', 0, 0).toStdString()
      << "\n";
  note("F4", after([this] { actionFor(window(rexec()), Qt::Key_F4)->trigger(); }));
  clockMode(rexec().automatic_radio);
  fullSpeed();
  told = 0;
  note("Begin at 1000 Hz", press(rexec().Command_Begin_Step, 1000));
  note("Pause", press(rexec().Command_Pause, 1000));
  // A few times a second at most while the clock runs (two seconds); the last where it stopped.
  EXPECT_GE(told, 2);
  EXPECT_LE(told, 1 + 2500 / qt::MachineAccessibility::kAnnounceMs);
  out << "F3: " << state->toPlainText().section('\n', 0, 0).toStdString() << "\n";
  testing::expectGolden("qt/phase_walk.txt", out.str());
}

}  // namespace
}  // namespace volpar::qttest
