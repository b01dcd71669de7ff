// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds on the screens, and "Show bit values", as a student meets
// them: the memory is a table, every text box has a name, and bits can be read without
// colour. (Each phase said, and a fast clock that does not flood the reader:
// announcement_test.cpp.)
#include "qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <sstream>

#include "bridge_fixture.h"
#include "qt/bit_values.h"
#include "support/data_table.h"

namespace volpar::qttest {
namespace {

class Accessibility : public BridgeFixture {
 protected:
  static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
  void SetUp() override { hideWelcome(); }
  void TearDown() override { qt::showBitValues(false); }
};

// The memory is a table of rows that marks the entry location; every text box of every
// screen is named as the label beside it says, the location by its own box, not again by
// each of the eight bits: the golden file.
TEST_F(Accessibility, TheMemoryIsATableAndEveryTextBoxIsNamedFromItsLabel) {
  poke({{5, "00100101"}, {6, "1x000001"}});
  act([this] { input().memory_text.setText("6"); });
  settle(qt::MachineAccessibility::kAnnounceMs + 50);
  QAccessibleInterface* area = QAccessible::queryAccessibleInterface(window(input()).clientArea());
  QAccessibleInterface* table = nullptr;
  for (int i = 0; i < area->childCount(); ++i) {
    if (area->child(i)->role() == QAccessible::Table) table = area->child(i);
  }
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->childCount(), 32);
  std::ostringstream names;
  for (int address : {0, 5, 6, 31}) {
    QAccessibleInterface* r = table->child(address);
    names << r->text(QAccessible::Name).toStdString() << ": "
          << r->text(QAccessible::Description).toStdString()
          << (r->state().selected ? " (selected)" : "") << "\n";
    EXPECT_EQ(r->parent(), table);
    EXPECT_TRUE(table->rect().contains(r->rect())) << address;
  }
  for (ui::Form* form : screens()) {
    for (ui::Element* e : form->elements()) {
      if (e->kind() != ui::ElementKind::TextBox) continue;
      names << e->displayName() << ": " << widget(*e)->accessibleName().toStdString();
      const QString description = widget(*e)->accessibleDescription();
      names << (description.isEmpty() ? "" : " (" + description.toStdString() + ")") << "\n";
    }
  }
  testing::expectGolden("qt/text_box_names.txt", names.str());
  // The state window (F3) reads the machine from before its first phase.
  EXPECT_TRUE(frontEnd.showMachineState().view()->toPlainText().startsWith("Clock: not started\n"));
}

// On the options panel: a screen reader toggles an option button without clicking it, and the
// model follows; a control reached by keyboard shows it, whatever the style draws of its own.
TEST_F(Accessibility, AScreenReadersToggleReachesTheModelAndTheKeyboardFocusShows) {
  startRun();
  act([this] { rexec().Command_Options.click(); });
  for (QWidget* w : {widget(input().Command_Send_to_Memory), widget(rexec().time_scroll)}) {
    activate(*w->window());
    const QImage before = w->grab().toImage();
    w->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    w->setFocus(Qt::TabFocusReason);
    settle();
    ASSERT_TRUE(w->hasFocus()) << w->objectName().toStdString();
    EXPECT_NE(w->grab().toImage(), before) << w->objectName().toStdString();
  }
  QAccessibleInterface* radio = QAccessible::queryAccessibleInterface(widget(rexec().manual_radio));
  ASSERT_NE(radio->actionInterface(), nullptr);
  EXPECT_EQ(radio->role(), QAccessible::RadioButton);  // not a check box, though not exclusive
  radio->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  settle(20);
  EXPECT_TRUE(rexec().manual_radio.Value() && !rexec().automatic_radio.Value());
}

// Off: the screens look as they always did. On: each bit cell carries its 1 or 0 in a
// colour that stands out from its fill, whatever the fill; the choice is kept.
TEST_F(Accessibility, ShowBitValuesWritesEveryBitAndIsKept) {
  poke({{0, "10000000"}});
  const QImage before = render(input());
  qt::showBitValues(true);
  EXPECT_TRUE(QSettings("VOLPAR", "volpar").value("view/showBitValues").toBool());
  const QImage on = render(input());
  for (int bit = 1; bit <= 2; ++bit) {
    const QRect cell = window(input()).pixelRect(input().Shape1(bit));
    int marked = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        marked += on.pixel(x, y) != before.pixel(x, y);
    EXPECT_GT(marked, 3) << "bit " << bit;
  }
  qt::showBitValues(false);
  EXPECT_EQ(render(input()), before);
  for (QColor fill : {QColor(Qt::white), QColor(Qt::yellow), QColor(Qt::red), QColor(Qt::black),
                      QColor(Qt::cyan), QColor(Qt::green)})
    EXPECT_GE(qt::contrastRatio(qt::markColor(fill), fill), 4.5) << fill.name().toStdString();
}

}  // namespace
}  // namespace volpar::qttest
