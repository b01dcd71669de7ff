// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise window: its Check gives the verdicts volpar-run gives, and changes nothing.
#include <gmock/gmock.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>

#include "bridge_fixture.h"
#include "exercise/check.h"
#include "machine/machine_view.h"

namespace volpar::qttest {
namespace {

const std::string kAdd = std::string(VOLPAR_TEST_DATA) + "/exercise/add.ini";

class ExerciseWindowTest : public BridgeFixture {
 protected:
  // The student's program typed into memory: INPUT, OUTPUT, BRANCH 2 (outputs its first
  // input only: passes Test 3 alone).
  void enterFirstInputProgram() {
    const char* bytes[] = {"01100000", "10000000", "10100010"};
    act([&] {
      for (std::int16_t a = 0; a < 3; ++a) app.manual().Text_To_Memory_Byte(a, bytes[a]);
    });
  }

  std::vector<std::string> memory() {
    std::vector<std::string> bytes;
    for (std::int16_t a = 0; a < 32; ++a) bytes.push_back(app.manual().Memory_Byte_To_Text(a));
    return bytes;
  }

  static std::vector<std::string> lines(QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
  }
};

TEST_F(ExerciseWindowTest, CheckGivesTheGradersVerdictsAndChangesNothing) {
  enterFirstInputProgram();
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

  const auto before = memory();
  const std::size_t historyBefore = frontEnd.history().lineCount();
  const int pcBefore = MachineView(rexec(), input(), app.manual()).pc();
  QTest::mouseClick(w->checkButton(), Qt::LeftButton);
  EXPECT_FALSE(w->checkButton()->isEnabled());
  EXPECT_EQ(w->checkButton()->text(), "Checking...");
  QTRY_VERIFY_WITH_TIMEOUT(!w->checking() && w->checkButton()->isEnabled(), 10000);
  EXPECT_EQ(w->checkButton()->text(), "&Check");

  // The same program and exercise through the grader volpar-run uses.
  const exercise::ExerciseRead read = exercise::readExercise(kAdd);
  const exercise::Program program = exercise::programInMemory(app.manual());
  const exercise::ProgramResult graded = exercise::gradeProgram(*read.exercise, program);
  std::vector<std::string> expected;
  for (const auto& t : graded.tests) {
    if (!t.test->hidden) expected.push_back(exercise::verdictLine(t));
  }
  EXPECT_EQ(lines(w->verdicts()), expected);
  EXPECT_EQ(lines(w->verdicts()),
            (std::vector<std::string>{
                "Test 1: failed: got output 5, end halt",
                "Test 3: failed: got output 0, end halt; Inputs read expected 2, got 1"}));
  EXPECT_EQ(w->verdicts()->item(0)->foreground().color(), QColor(192, 0, 0));
  EXPECT_EQ(w->verdicts()->item(1)->foreground().color(), QColor(192, 0, 0));
  EXPECT_EQ(w->hidden()->text().toStdString(), "1 more test: 0 passed");

  EXPECT_EQ(memory(), before);
  EXPECT_EQ(MachineView(rexec(), input(), app.manual()).pc(), pcBefore);
  EXPECT_EQ(frontEnd.history().lineCount(), historyBefore);
}

TEST_F(ExerciseWindowTest, AnExerciseThatCannotBeUsedIsReportedAndTheWindowStays) {
  frontEnd.openExercise(kAdd);
  qt::ExerciseWindow* shown = frontEnd.exerciseWindow();
  std::string text;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    text = box->text().toStdString();
    box->accept();
  });
  frontEnd.openExercise(std::string(VOLPAR_TEST_DATA) + "/exercise/correct.txt");
  EXPECT_THAT(text, ::testing::HasSubstr("correct.txt\" cannot be used"));
  EXPECT_EQ(frontEnd.exerciseWindow(), shown);
}

TEST_F(ExerciseWindowTest, TheFileMenuOffersOpenExercise) {
  EXPECT_TRUE(input().exercise_menu.visible());
  EXPECT_EQ(input().exercise_menu.Caption(), "Open &Exercise...");
  EXPECT_EQ(input().exercise_menu.Shortcut(), "Ctrl+E");
}

}  // namespace
}  // namespace volpar::qttest
