// SPDX-License-Identifier: GPL-3.0-or-later
// The memory rows and the execution screen's readings walked by keys, as a blind student
// walks them: Tab reaches them and the arrow keys move the screen reader's focus, which
// reads each part whole; the options closed by keys give the focus back to Step, never to
// the walk, and a phase moves no screen reader's focus.
#include <QAccessible>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

class PartWalk : public BridgeFixture {
 protected:
  // The drawn part that holds the screen reader's focus, as it is spoken.
  QString focusedPart(const ui::Form& form) {
    QAccessibleInterface* area = QAccessible::queryAccessibleInterface(window(form).clientArea());
    for (int i = 0; i < area->childCount(); ++i) {
      for (int r = -1; r < area->child(i)->childCount(); ++r) {
        QAccessibleInterface* p = r < 0 ? area->child(i) : area->child(i)->child(r);
        if (!p->object() && p->state().focused) return p->textInterface()->text(0, 99);
      }
    }
    return {};
  }
  static std::string pressed(std::initializer_list<QKeyCombination> keys) {
    for (QKeyCombination k : keys) key(k.key(), k.keyboardModifiers());
    return focus()->objectName().toStdString();
  }
};

TEST_F(PartWalk, TabAndTheArrowKeysReadTheMemoryAndTheReadingsButNotInsteadOfStep) {
  hideWelcome();
  poke({{5, "00100101"}});
  act([this] { input().memory_text.setText("4"); });
  activate(window(input()));
  ASSERT_EQ(pressed({Qt::ShiftModifier | Qt::Key_Tab}), "volpar-walk");
  EXPECT_EQ(focusedPart(input()), "Address 4: 00000000, ADD 0, entry location");
  pressed({Qt::Key_Down});
  EXPECT_EQ(focusedPart(input()), "Address 5: 00100101, LOAD 5");
  pressed({Qt::Key_End, Qt::Key_Down, Qt::Key_PageUp});
  EXPECT_EQ(focusedPart(input()), "Address 23: 00000000, ADD 0");
  EXPECT_NE(pressed({Qt::Key_Tab}), "volpar-walk");
  EXPECT_EQ(focusedPart(input()), "");

  startRun();
  act([this] { rexec().Command_Options.click(); });
  activate(window(rexec()));
  act([this] { rexec().manual_radio.click(); });
  widget(rexec().Command_Options_Close)->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(pressed({Qt::Key_Space}), "Command_Begin_Step");
  pressed({Qt::Key_Space});
  EXPECT_EQ(rexec().Command_Begin_Step.Caption(), "&Step");
  EXPECT_EQ(focusedPart(rexec()), "");
  for (int i = 0; i < 40 && pressed({}) != "volpar-walk"; ++i) pressed({Qt::Key_Tab});
  EXPECT_EQ(focusedPart(rexec()), "Clock: phase T1");
  pressed({Qt::Key_Down, Qt::Key_Down});
  EXPECT_EQ(focusedPart(rexec()), "Program Counter: 0, binary 00000");
}

}  // namespace
}  // namespace volpar::qttest
