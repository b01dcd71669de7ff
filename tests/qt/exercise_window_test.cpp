// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise window: its Check gives the verdicts volpar-run gives, and changes nothing.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>

#include "bridge_fixture.h"
#include "machine/machine_view.h"

namespace volpar::qttest {
namespace {

const std::string kAdd = std::string(VOLPAR_TEST_DATA) + "/exercise/add.ini";

std::vector<std::string> lines(QListWidget* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->count(); ++i) {
    const QColor c = list->item(i)->foreground().color();
    out.push_back(list->item(i)->text().toStdString() + (c == QColor(192, 0, 0) ? " (red)" : ""));
  }
  return out;
}

// The student's program: INPUT, OUTPUT, BRANCH 2 (outputs its first input only: passes
// Test 3 alone).
TEST_F(BridgeFixture, ExerciseCheckGivesTheGradersVerdictsAndChangesNothing) {
  poke({{0, "01100000"}, {1, "10000000"}, {2, "10100010"}});
  frontEnd.openExercise(kAdd);
  qt::ExerciseWindow* w = frontEnd.exerciseWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "VOLPAR Exercise");
  EXPECT_TRUE(w->isVisible());
  // The visible tests, as the exercise states them; the hidden one is not listed.
  EXPECT_EQ(lines(w->tests()),
            (std::vector<std::string>{"Test 1: input 5,7; expected output 12, end halt",
                                      "Test 3: input 0,0; expected output 0, end halt"}));
  EXPECT_EQ(QSettings().value("exercise/last").toString().toStdString(), kAdd);
  std::vector<std::string> before;
  for (std::int16_t a = 0; a < 32; ++a) before.push_back(app.manual().Memory_Byte_To_Text(a));
  const std::size_t historyBefore = frontEnd.history().lineCount();
  const int pcBefore = MachineView(rexec(), input(), app.manual()).pc();
  QTest::mouseClick(w->checkButton(), Qt::LeftButton);
  EXPECT_FALSE(w->checkButton()->isEnabled());
  EXPECT_EQ(w->checkButton()->text(), "Checking...");
  QTRY_VERIFY_WITH_TIMEOUT(!w->checking() && w->checkButton()->isEnabled(), 10000);
  EXPECT_EQ(w->checkButton()->text(), "&Check");
  EXPECT_EQ(lines(w->verdicts()),
            (std::vector<std::string>{
                "Test 1: failed: got output 5, end halt (red)",
                "Test 3: failed: got output 0, end halt; Inputs read expected 2, got 1 (red)"}));
  EXPECT_EQ(w->hidden()->text().toStdString(), "1 more test: 0 passed");
  for (std::int16_t a = 0; a < 32; ++a)
    EXPECT_EQ(app.manual().Memory_Byte_To_Text(a), before[static_cast<std::size_t>(a)]);
  EXPECT_EQ(MachineView(rexec(), input(), app.manual()).pc(), pcBefore);
  EXPECT_EQ(frontEnd.history().lineCount(), historyBefore);
  // A file that is no exercise is reported; the window stays.
  MessageBoxCloser closer;
  frontEnd.openExercise(std::string(VOLPAR_TEST_DATA) + "/exercise/correct.txt");
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_TRUE(closer.seen[0].text.contains("correct.txt\" cannot be used"));
  EXPECT_EQ(frontEnd.exerciseWindow(), w);
}

}  // namespace
}  // namespace volpar::qttest
