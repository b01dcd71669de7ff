// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds on the screens, and "Show bit values", as a student meets
// them: the machine's objects follow every phase, the memory is a table, every text box
// has a name, a fast clock does not flood the reader, and bits can be read without colour.
#include "qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <map>

#include "bridge_fixture.h"
#include "qt/bit_values.h"

namespace volpar::qttest {
namespace {

class Accessibility : public BridgeFixture {
 protected:
  static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
  void TearDown() override { qt::showBitValues(false); }

  QAccessibleInterface* clientArea(const ui::Form& form) {
    return QAccessible::queryAccessibleInterface(window(form).clientArea());
  }
  // The machine's objects of the execution screen: name -> what it says.
  std::map<QString, QString> said() {
    std::map<QString, QString> all;
    QAccessibleInterface* area = clientArea(rexec());
    for (int i = 0; i < area->childCount(); ++i) {
      QAccessibleInterface* c = area->child(i);
      if (c->role() == QAccessible::Cell)
        all[c->text(QAccessible::Name)] = c->text(QAccessible::Description);
    }
    return all;
  }
  QAccessibleInterface* memoryTable() {
    QAccessibleInterface* area = clientArea(input());
    for (int i = 0; i < area->childCount(); ++i) {
      if (area->child(i)->role() == QAccessible::Table) return area->child(i);
    }
    return nullptr;
  }
  void manualRun() {
    startRun();
    act([this] {
      rexec().Command_Options.click();
      rexec().manual_radio.click();
      rexec().Command_Options_Close.click();
    });
  }
  void step() {
    act([this] { rexec().Command_Begin_Step.click(); });
  }
};

// LOAD 5 of 10000001 read phase by phase: each object says what the screen shows.
TEST_F(Accessibility, TheExecutionScreenSaysEachPhase) {
  hideWelcome();
  poke({{0, "00100101"}, {5, "10000001"}});
  manualRun();
  struct Phase {
    const char* clock;
    std::map<QString, QString> expected;
  };
  const std::vector<Phase> phases = {
      {"phase T1",
       {{"Program Counter", "0, binary 00000"},
        {"Address Register", "0, binary 00000"},
        {"Decoder", "none"}}},
      {"phase T2", {{"Instruction Register", "37, binary 00100101, LOAD 5"}, {"Decoder", "LOAD"}}},
      {"phase T3", {{"Program Counter", "1, binary 00001"}, {"Memory (PC)", "0, binary 00000000"}}},
      {"phase T4",
       {{"Address Register", "5, binary 00101"},
        {"Lit lamps", "Copy Instruction Register to Address Register"}}},
      {"phase T5",
       {{"S", "129, binary 10000001"}, {"Negative flag", "1"}, {"Lit lamps", "Copy Memory to S"}}},
      {"phase T6", {{"X", "0, binary 00000000"}, {"Input window", "not waiting"}}},
  };
  for (const Phase& phase : phases) {
    step();
    const auto now = said();
    EXPECT_EQ(now.at("Clock"), phase.clock);
    for (const auto& [name, text] : phase.expected)
      EXPECT_EQ(now.at(name), text) << phase.clock << " " << name.toStdString();
  }
}

TEST_F(Accessibility, TheMemoryIsATableOfRowsThatMarksTheEntryLocation) {
  hideWelcome();
  poke({{5, "00100101"}, {6, "1x000001"}});
  act([this] { input().memory_text.setText("6"); });
  QAccessibleInterface* table = memoryTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->childCount(), 32);
  const struct {
    int address;
    const char* text;
    bool entry;
  } rows[] = {{0, "00000000, ADD 0", false},
              {5, "00100101, LOAD 5", false},
              {6, "1x000001, OUTPUT 1, entry location", true},
              {31, "00000000, ADD 0", false}};
  for (const auto& row : rows) {
    QAccessibleInterface* r = table->child(row.address);
    EXPECT_EQ(r->text(QAccessible::Name), QString("Address %1").arg(row.address));
    EXPECT_EQ(r->text(QAccessible::Description), row.text);
    EXPECT_EQ(r->state().selected, row.entry) << row.address;
    EXPECT_EQ(r->parent(), table);
    EXPECT_TRUE(table->rect().contains(r->rect())) << row.address;
  }
}

TEST_F(Accessibility, EveryTextBoxIsNamedFromItsLabel) {
  hideWelcome();
  for (ui::Form* form : screens()) {
    for (ui::Element* e : form->elements()) {
      if (e->kind() != ui::ElementKind::TextBox) continue;
      EXPECT_FALSE(widget(*e)->accessibleName().isEmpty()) << e->displayName();
    }
  }
  EXPECT_EQ(widget(input().Input_Bit(3))->accessibleName(), "Bit 3");
  EXPECT_EQ(widget(input().Input_Op_Code(0))->accessibleName(), "Op code");
  EXPECT_EQ(widget(input().exec_text)->accessibleName(), "Start location");
  EXPECT_EQ(widget(rexec().Text_Input_Decimal)->accessibleName(), "Decimal value");
  // The location is said by its own box, not again by each of the eight bits.
  act([this] { input().memory_text.setText("5"); });
  settle(qt::MachineAccessibility::kAnnounceMs + 50);
  EXPECT_EQ(widget(input().Input_Bit(1))->accessibleDescription(), "");
}

// What the screen reader is told comes within a quarter second of a Step, and a few times a second
// at most while a clock at 1000 Hz runs; the last is the state the clock stopped in. The state
// window (F3) is told with it, and shows it.
TEST_F(Accessibility, ChangesAreToldAFewTimesASecondAtMost) {
  hideWelcome();
  poke({{0, "10100000"}});  // BRANCH 0: runs for ever
  manualRun();
  QPlainTextEdit* text = frontEnd.showMachineState().view();
  int told = 0;
  QObject::connect(text, &QPlainTextEdit::textChanged, [&told] { ++told; });
  step();
  settle(qt::MachineAccessibility::kAnnounceMs + 20);
  EXPECT_EQ(told, 1);
  EXPECT_TRUE(text->toPlainText().contains("Clock: phase T1\n"));
  act([this] {
    rexec().Command_Options.click();
    rexec().automatic_radio.click();
    rexec().Command_Options_Close.click();
  });
  fullSpeed();
  told = 0;
  act([this] { rexec().Command_Begin_Step.click(); });
  settle(1000);
  act([this] { rexec().Command_Pause.click(); });
  settle(500);
  EXPECT_GE(told, 2);
  EXPECT_LE(told, 1 + 1500 / qt::MachineAccessibility::kAnnounceMs);
  EXPECT_EQ(said().at("Clock"), "phase T0");
  EXPECT_TRUE(text->toPlainText().contains("Clock: phase T0\n"));
}

TEST_F(Accessibility, F3ShowsTheWholeStateAsText) {
  hideWelcome();
  poke({{0, "00100101"}});
  manualRun();
  step();
  QAction* read = nullptr;
  for (QAction* a : window(rexec()).actions()) {
    if (a->shortcut() == QKeySequence(Qt::Key_F3)) read = a;
  }
  ASSERT_NE(read, nullptr);
  read->trigger();
  settle();
  qt::MachineStateWindow* state = frontEnd.machineStateWindow();
  ASSERT_NE(state, nullptr);
  EXPECT_TRUE(state->isVisible());
  const QString text = state->view()->toPlainText();
  EXPECT_TRUE(text.contains("Clock: phase T1\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("Address 0: 00100101, LOAD 5")) << text.toStdString();
}

// A screen reader toggles an option button without clicking it: the model follows.
TEST_F(Accessibility, AScreenReadersToggleReachesTheModel) {
  hideWelcome();
  startRun();
  act([this] { rexec().Command_Options.click(); });
  QAccessibleInterface* radio = QAccessible::queryAccessibleInterface(widget(rexec().manual_radio));
  ASSERT_NE(radio->actionInterface(), nullptr);
  EXPECT_EQ(radio->role(), QAccessible::RadioButton);  // not a check box, though not exclusive
  radio->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  settle(20);
  EXPECT_TRUE(rexec().manual_radio.Value());
  EXPECT_FALSE(rexec().automatic_radio.Value());
}

// Off: the screens look as they always did. On: each bit cell carries its 1 or 0 in a
// colour that stands out from its fill; the choice is kept.
TEST_F(Accessibility, ShowBitValuesWritesEveryBitAndIsKept) {
  hideWelcome();
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
}

// A control reached by keyboard shows it, whatever the style draws of its own focus.
TEST_F(Accessibility, SendToMemoryAndTheSpeedBarShowTheKeyboardFocus) {
  hideWelcome();
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
}

TEST_F(Accessibility, BitMarksContrastWithEveryFill) {
  for (QColor fill : {QColor(Qt::white), QColor(Qt::yellow), QColor(Qt::red), QColor(Qt::black),
                      QColor(Qt::cyan), QColor(Qt::green)}) {
    EXPECT_GE(qt::contrastRatio(qt::markColor(fill), fill), 4.5) << fill.name().toStdString();
  }
}

}  // namespace
}  // namespace volpar::qttest
