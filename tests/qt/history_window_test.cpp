// The execution history as a student uses it: F2 or Help opens the window, Step Back,
// Ctrl+Z and a click on a line take the screens back, and the memory grid explains its
// rows in tooltips.
#include <QHelpEvent>
#include <QListView>
#include <QPushButton>
#include <QToolTip>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

const QColor kCyan(0, 255, 255), kYellow(255, 255, 0);

class History : public BridgeFixture {
 protected:
  // LOAD 5, STORE 6, INPUT 7, with 10 at address 5, started at 0.
  void start(bool manual) {
    hideWelcome();
    for (const auto& [address, bits] :
         {std::pair{0, "00100101"}, {1, "01000110"}, {2, "01100111"}, {5, "00001010"}})
      act([&] { app.manual().Text_To_Memory_Byte(static_cast<std::int16_t>(address), bits); });
    act([this] { input().Command_Execute_Program.click(); });
    act([this] { input().Command_OK_For_Start_Location.click(); });
    act([this, manual] { rexec().manual_radio.setValue(manual); });
  }
  void step() {
    act([this] { rexec().Command_Begin_Step.click(); });
  }
  void activate(QWidget& w) {
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
  // A key as pressed with the focus in the target, or where the target window has it.
  void keyIn(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    activate(*target.window());
    if (!target.isWindow()) target.setFocus();
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &target, key, modifiers);
    settle();
  }
  qt::HistoryWindow* historyWindow() { return frontEnd.historyWindow(); }
  QPushButton* stepBackButton() { return historyWindow()->stepBackButton(); }
  // What the student sees: Begin or Step, PC, the lit clock cell, memory[6] bit 5.
  std::string seen() {
    const QImage ex = render(rexec());
    std::string s =
        qobject_cast<QPushButton*>(widget(rexec().Command_Begin_Step))->text().toStdString();
    s += " PC " + rexec().Register_PC_Decimal.Caption() + " T";
    for (int k = 0; k <= 7; ++k) s += colorAt(ex, rexec().Shape_Clock(k)) == kCyan ? '*' : '.';
    s += colorAt(render(input()), input().Shape1(8 * 6 + 5)) == kYellow ? " m1" : " m0";
    return s;
  }
  QString listed(int row) {
    const QListView& list = *historyWindow()->list();
    return list.model()->index(row, 0).data().toString();
  }
};

// LOAD and STORE run, then INPUT waits with the focus in its box (where Ctrl+Z is still
// Step Back). The window opened late shows it all, and each way of stepping back restores
// the screens phase by phase, the memory STORE wrote included.
TEST_F(History, StepBackByButtonOrCtrlZOrAClickRestoresWhatTheStudentSaw) {
  constexpr int kPhases = 22;
  start(true);
  std::vector<std::string> before;
  auto forward = [&] {
    before.clear();
    for (int i = 0; i < kPhases; ++i) {
      before.push_back(seen());
      step();
    }
  };
  forward();
  ASSERT_EQ(historyWindow(), nullptr);
  keyIn(window(rexec()), Qt::Key_F2);
  ASSERT_NE(historyWindow(), nullptr);
  EXPECT_TRUE(historyWindow()->isVisible());
  EXPECT_EQ(historyWindow()->windowTitle(), "VOLPAR Execution History");
  EXPECT_EQ(listed(0), "Start at address 0");
  EXPECT_EQ(listed(1), "0: 00100101 LOAD 5");
  EXPECT_EQ(listed(2), "1: 01000110 STORE 6");

  const std::pair<const char*, std::function<void()>> ways[] = {
      {"button", [this] { QTest::mouseClick(stepBackButton(), Qt::LeftButton); }},
      {"Ctrl+Z on the execution screen, in the input box while it waits",
       [this] {
         QWidget* box = widget(rexec().Text_Input_Decimal);
         keyIn(box->isVisible() ? *box : window(rexec()), Qt::Key_Z, Qt::ControlModifier);
       }},
      {"Ctrl+Z in the history",
       [this] { keyIn(*historyWindow(), Qt::Key_Z, Qt::ControlModifier); }}};
  for (const auto& [way, back] : ways) {
    if (before.empty()) forward();
    historyWindow()->refresh();
    for (int i = kPhases; i-- > 0;) {
      EXPECT_TRUE(stepBackButton()->isEnabled()) << way;
      back();
      settle();
      EXPECT_EQ(seen(), before[static_cast<std::size_t>(i)]) << way << ", back to " << i;
    }
    historyWindow()->refresh();
    EXPECT_FALSE(stepBackButton()->isEnabled()) << way;
    before.clear();
  }

  forward();
  historyWindow()->refresh();
  QListView& list = *historyWindow()->list();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    list.visualRect(list.model()->index(0, 0)).center());
  settle();
  EXPECT_EQ(seen(), before[0]);
}

TEST_F(History, StepBackIsDisabledWhileTheClockRuns) {
  start(false);
  act([this] { app.manual().Text_To_Memory_Byte(2, "10100000"); });  // BRANCH 0: never stops
  act([this] { rexec().Command_Options.click(); });
  act([this] { rexec().time_scroll.setValue(1000); });
  act([this] { rexec().Command_Options_Close.click(); });
  frontEnd.showHistory();
  step();  // Begin
  settle(50);
  historyWindow()->refresh();
  ASSERT_TRUE(rexec().Timer1.enabled());
  EXPECT_FALSE(stepBackButton()->isEnabled());
  keyIn(window(rexec()), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(rexec().Timer1.enabled());

  act([this] { rexec().Command_Pause.click(); });
  for (int i = 0; i < 100 && rexec().Timer1.enabled(); ++i) settle(10);
  historyWindow()->refresh();
  EXPECT_TRUE(stepBackButton()->isEnabled());
}

// Black bits read as 0; the rows explain themselves in both arrangements of the screen.
TEST_F(History, MemoryRowTooltipsNameTheInstruction) {
  const std::pair<const char*, const char*> rows[] = {
      {"00000011", "Address 0: 00000011 = 3 = ADD 3"},
      {"00100101", "Address 1: 00100101 = 37 = LOAD 5"},
      {"01011111", "Address 2: 01011111 = 95 = STORE 31"},
      {"01100000", "Address 3: 01100000 = 96 = INPUT 0"},
      {"10000001", "Address 4: 10000001 = 129 = OUTPUT 1"},
      {"10100100", "Address 5: 10100100 = 164 = BRANCH 4"},
      {"11001000", "Address 6: 11001000 = 200 = BR Neg 8"},
      {"11110000", "Address 7: 11110000 = 240 = BR NNeg 16"},
      {"x01x0101", "Address 8: x01x0101 = 37 = LOAD 5"},
  };
  hideWelcome();
  for (std::int16_t a = 0; a < 9; ++a)
    act([&] { app.manual().Text_To_Memory_Byte(a, rows[a].first); });
  auto tooltipAt = [this](int address) {
    qt::FormWindow& w = window(input());
    const QPoint at = w.pixelRect(input().Shape1(8 * address + 4)).center();
    QHelpEvent event(QEvent::ToolTip, at, w.clientArea()->mapToGlobal(at));
    QApplication::sendEvent(w.clientArea(), &event);
    return QToolTip::text().toStdString();
  };
  for (const bool viewMemory : {false, true}) {
    if (viewMemory) {
      act([this] { input().Command_Execute_Program.click(); });
      act([this] { input().Command_OK_For_Start_Location.click(); });
      act([this] { rexec().Command_View_Memory.click(); });
      ASSERT_TRUE(window(input()).isVisible());
    }
    for (int a = 0; a < 9; ++a) EXPECT_EQ(tooltipAt(a), rows[a].second) << viewMemory;
  }
}

// Help > Execution History (F2) on the input screen opens the window.
TEST_F(History, TheInputScreensMenuOpensTheWindow) {
  hideWelcome();
  keyIn(window(input()), Qt::Key_F2);
  ASSERT_NE(historyWindow(), nullptr);
  EXPECT_TRUE(historyWindow()->isVisible());
}

}  // namespace
}  // namespace volpar::qttest
