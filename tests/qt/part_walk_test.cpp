// SPDX-License-Identifier: GPL-3.0-or-later
// The memory rows and the execution screen's readings walked by keys, as a blind student
// walks them: Tab reaches them, the arrow keys move the screen reader's focus and it reads
// each part whole; a window that gives the focus back (the options closed) gives it to
// Step, never to the walk, and a phase moves no screen reader's focus.
#include <QAccessible>
#include <QAccessibleInterface>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

class PartWalk : public BridgeFixture {
 protected:
  // The text of the drawn part that holds the screen reader's focus, as it is spoken.
  QString focusedPart(const ui::Form& form) {
    QStringList focused;
    QAccessibleInterface* area = QAccessible::queryAccessibleInterface(window(form).clientArea());
    for (int i = 0; i < area->childCount(); ++i) {
      QAccessibleInterface* c = area->child(i);
      for (int r = -1; r < c->childCount(); ++r) {
        QAccessibleInterface* p = r < 0 ? c : c->child(r);
        if (!p->object() && p->state().focused && p->textInterface())
          focused << p->textInterface()->text(0, p->textInterface()->characterCount());
      }
    }
    return focused.join(" | ");
  }
  static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, mods);
    settle();
  }
  static std::string focusName() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName().toStdString() : std::string();
  }
};

TEST_F(PartWalk, TabAndTheArrowKeysWalkTheMemoryRowByRow) {
  hideWelcome();
  poke({{5, "00100101"}});
  act([this] { input().memory_text.setText("4"); });
  activate(window(input()));
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  press(Qt::Key_Tab, Qt::ShiftModifier);  // from the first box back to the last stop
  ASSERT_EQ(focusName(), "volpar-walk");
  EXPECT_EQ(focusedPart(input()), "Address 4: 00000000, ADD 0, entry location");
  const struct {
    std::vector<Qt::Key> keys;
    const char* said;
  } walks[] = {
      {{Qt::Key_Down}, "Address 5: 00100101, LOAD 5"},
      {{Qt::Key_End, Qt::Key_Down, Qt::Key_PageUp}, "Address 23: 00000000, ADD 0"},
      {{Qt::Key_PageDown, Qt::Key_PageDown}, "Address 31: 00000000, ADD 0"},
      {{Qt::Key_Home, Qt::Key_Up, Qt::Key_Right}, "Address 1: 00000000, ADD 0"},
  };
  for (const auto& walk : walks) {
    for (Qt::Key key : walk.keys) press(key);
    EXPECT_EQ(focusedPart(input()), walk.said);
  }
  press(Qt::Key_Tab);  // Tab leaves the walk for the first box again
  EXPECT_NE(focusName(), "volpar-walk");
  EXPECT_EQ(focusedPart(input()), "");
}

// The options closed by keys: the focus goes back to Begin, Space steps, and no part
// takes the screen reader's focus at the phase.
TEST_F(PartWalk, AfterTheOptionsSpaceStepsAndTheReadingsAreReachedByTab) {
  hideWelcome();
  startRun();
  act([this] { rexec().Command_Options.click(); });
  activate(window(rexec()));
  act([this] { rexec().manual_radio.click(); });
  widget(rexec().Command_Options_Close)->setFocus(Qt::TabFocusReason);
  press(Qt::Key_Space);
  ASSERT_EQ(focusName(), "Command_Begin_Step");
  press(Qt::Key_Space);
  settle(50);
  EXPECT_EQ(rexec().Command_Begin_Step.Caption(), "&Step");
  EXPECT_EQ(focusedPart(rexec()), "");
  for (int i = 0; i < 40 && focusName() != "volpar-walk"; ++i) press(Qt::Key_Tab);
  ASSERT_EQ(focusName(), "volpar-walk");
  EXPECT_EQ(focusedPart(rexec()), "Clock: phase T1");
  press(Qt::Key_Down);
  press(Qt::Key_Down);
  EXPECT_EQ(focusedPart(rexec()), "Program Counter: 0, binary 00000");
}

}  // namespace
}  // namespace volpar::qttest
