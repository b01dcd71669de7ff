// SPDX-License-Identifier: GPL-3.0-or-later
// The execution history as a student uses it: F2 or Help opens the window, Step Back,
// Ctrl+Z and a click on a line take the screens back, and the memory grid explains its
// rows in tooltips.
#include <QHelpEvent>
#include <QListView>
#include <QToolTip>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

class History : public BridgeFixture {
 protected:
  History() { hideWelcome(); }
  // A key as pressed with the focus in the target, or where the target window has it.
  void keyIn(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    activate(*target.window());
    if (!target.isWindow()) target.setFocus();
    QTest::keyClick(focus() ? focus() : &target, key, modifiers);
    settle();
  }
  qt::HistoryWindow* historyWindow() { return frontEnd.historyWindow(); }
  using Seen = std::map<std::string, std::string>;
  // What the student sees on both screens.
  std::pair<Seen, Seen> seenNow() { return {seen(rexec()), seen(input())}; }
};

// LOAD 5, STORE 6, INPUT 7, with 10 at address 5, stepped in manual mode: LOAD and STORE
// run, then INPUT waits with the focus in its box (where Ctrl+Z is still
// Step Back). The window opened late shows it all, and each way of stepping back restores
// the screens phase by phase, the memory STORE wrote included.
TEST_F(History, StepBackByButtonOrCtrlZOrAClickRestoresWhatTheStudentSaw) {
  constexpr int kPhases = 22;
  poke({{0, "00100101"}, {1, "01000110"}, {2, "01100111"}, {5, "00001010"}});
  manualRun();
  std::vector<std::pair<Seen, Seen>> before;
  auto forward = [&] {
    before.clear();
    for (int i = 0; i < kPhases; ++i, step()) before.push_back(seenNow());
  };
  forward();
  ASSERT_EQ(historyWindow(), nullptr);
  keyIn(window(rexec()), Qt::Key_F2);
  ASSERT_NE(historyWindow(), nullptr);
  EXPECT_EQ(historyWindow()->windowTitle(), "VOLPAR Execution History");
  EXPECT_EQ(historyWindow()->list()->model()->index(1, 0).data().toString(), "0: 00100101 LOAD 5");

  const std::pair<const char*, std::function<void()>> ways[] = {
      {"button", [this] { QTest::mouseClick(historyWindow()->stepBackButton(), Qt::LeftButton); }},
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
      EXPECT_TRUE(historyWindow()->stepBackButton()->isEnabled()) << way;
      back();
      settle();
      EXPECT_EQ(seenNow(), before[static_cast<std::size_t>(i)]) << way << ", back to " << i;
    }
    historyWindow()->refresh();
    EXPECT_FALSE(historyWindow()->stepBackButton()->isEnabled()) << way;
    before.clear();
  }

  forward();
  historyWindow()->refresh();
  QListView& list = *historyWindow()->list();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    list.visualRect(list.model()->index(0, 0)).center());
  settle();
  EXPECT_EQ(seenNow(), before[0]);
}

// Help > Execution History (F2) on the input screen opens the window. Black bits read as
// 0; the rows explain themselves in both arrangements of the screen.
TEST_F(History, TheInputScreensMenuOpensTheWindowAndMemoryRowTooltipsNameTheInstruction) {
  keyIn(window(input()), Qt::Key_F2);
  ASSERT_NE(historyWindow(), nullptr);
  EXPECT_TRUE(historyWindow()->isVisible());
  const std::pair<int, const char*> rows[] = {{0, "Address 0: 00000011 = 3 = ADD 3"},
                                              {17, "Address 17: 11110000 = 240 = BR NNeg 16"},
                                              {31, "Address 31: x01x0101 = 37 = LOAD 5"}};
  poke({{0, "00000011"}, {17, "11110000"}, {31, "x01x0101"}});
  auto tooltipAt = [this](int address) {
    qt::FormWindow& w = window(input());
    const QPoint at = w.pixelRect(input().Shape1(8 * address + 4)).center();
    QHelpEvent event(QEvent::ToolTip, at, w.clientArea()->mapToGlobal(at));
    QApplication::sendEvent(w.clientArea(), &event);
    return QToolTip::text().toStdString();
  };
  for (const bool viewMemory : {false, true}) {
    if (viewMemory) {
      startRun();
      act([this] { rexec().Command_View_Memory.click(); });
      ASSERT_TRUE(window(input()).isVisible());
    }
    for (const auto& [address, tip] : rows) EXPECT_EQ(tooltipAt(address), tip) << viewMemory;
  }
}

// The window opens beside the execution screen: to its right where the desktop has room,
// else to its left, else on the roomier side, always inside the desktop (a second monitor
// too).
TEST(HistoryPlacement, BesideTheWindowWhereTheDesktopHasRoom) {
  const QRect desk(0, 0, 1920, 1080);
  const struct {
    QRect available, beside, place;
  } cases[] = {{desk, {100, 50, 1000, 700}, {1100, 50, 460, 560}},
               {desk, {800, 50, 1000, 700}, {340, 50, 460, 560}},
               {desk, {300, 600, 1400, 700}, {0, 520, 460, 560}},
               {{1920, 0, 1280, 1024}, {2000, 100, 800, 600}, {2740, 100, 460, 560}},
               {{0, 0, 400, 300}, {0, 0, 200, 100}, {0, 0, 400, 300}}};  // never larger
  for (const auto& c : cases)
    EXPECT_EQ(qt::placeBeside(c.available, c.beside, QSize(460, 560)), c.place) << c.beside.x();
}

// At a program's end the list keeps one line for the repeated branch; the end line wraps in
// a narrow window instead of being cut; Ctrl+Home and Ctrl+End go to the first and the last
// line.
TEST_F(History, TheEndLineWrapsAndCtrlHomeAndCtrlEndGoToTheEnds) {
  poke({{0, "10100000"}});  // BRANCH 0, for ever
  manualRun();
  step(8 * 40);
  keyIn(window(rexec()), Qt::Key_F2);
  ASSERT_NE(historyWindow(), nullptr);
  qt::HistoryWindow& w = *historyWindow();
  w.resize(260, 220);
  settle();
  w.refresh();
  settle();
  QListView& list = *w.list();
  QAbstractItemModel& lines = *list.model();
  const int rows = lines.rowCount();
  ASSERT_EQ(rows, 2 + 8 + 1);
  EXPECT_EQ(lines.index(1, 0).data().toString(), "0: 10100000 BRANCH 0 \u2014 repeated 40 times");
  const QModelIndex end = lines.index(rows - 1, 0);
  EXPECT_EQ(end.data().toString(), "the program has reached its end (BRANCH to itself at 0)");
  EXPECT_GE(list.visualRect(end).height(), 2 * list.visualRect(lines.index(0, 0)).height() - 4)
      << "wrapped onto two lines or more";
  EXPECT_LE(list.visualRect(end).width(), list.viewport()->width());

  const QRect view = list.viewport()->rect();
  keyIn(w, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(list.currentIndex().row(), 0);
  EXPECT_TRUE(view.intersects(list.visualRect(lines.index(0, 0))));
  EXPECT_FALSE(view.intersects(list.visualRect(end)));
  keyIn(w, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(list.currentIndex().row(), rows - 1);
  EXPECT_TRUE(view.contains(list.visualRect(end)));
}

}  // namespace
}  // namespace volpar::qttest
