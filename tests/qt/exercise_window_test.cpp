// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise window: its Check gives the verdicts volpar-run gives, and changes nothing.
#include <QPushButton>
#include <QSettings>

#include "bridge_fixture.h"
#include "machine/machine_view.h"
#include "support/data_table.h"

namespace volpar::qttest {
namespace {

// The student's program: INPUT, OUTPUT, BRANCH 2 (outputs its first input only: passes
// Test 3 alone). The window as the student reads it, red lines marked, before and after
// Check: the visible tests as the exercise states them, the hidden one not listed.
TEST_F(BridgeFixture, ExerciseCheckGivesTheGradersVerdictsAndChangesNothing) {
  poke({{0, "01100000"}, {1, "10000000"}, {2, "10100010"}});
  const std::string kAdd = std::string(VOLPAR_TEST_DATA) + "/exercise/add.ini";
  frontEnd.openExercise(kAdd);
  qt::ExerciseWindow* w = frontEnd.exerciseWindow();
  ASSERT_NE(w, nullptr);
  std::string out = shows(*w);
  EXPECT_EQ(QSettings().value("exercise/last").toString().toStdString(), kAdd);
  // Memory, the PC and the history as they are, to be found so after the check.
  const auto machine = [this] {
    std::string s = std::to_string(MachineView(rexec(), input(), app.manual()).pc()) + " " +
                    std::to_string(frontEnd.history().lineCount());
    for (std::int16_t a = 0; a < 32; ++a) s += " " + app.manual().Memory_Byte_To_Text(a);
    return s;
  };
  const std::string before = machine();
  QTest::mouseClick(w->checkButton(), Qt::LeftButton);
  out += shows(*w);
  QTRY_VERIFY_WITH_TIMEOUT(!w->checking() && w->checkButton()->isEnabled(), 10000);
  testing::expectGolden("qt/exercise_check.txt", out + shows(*w));
  EXPECT_EQ(machine(), before);
  // A file that is no exercise is reported; the window stays.
  MessageBoxCloser closer;
  frontEnd.openExercise(std::string(VOLPAR_TEST_DATA) + "/exercise/correct.txt");
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_NE(closer.seen[0].find("correct.txt\" cannot be used"), std::string::npos);
  EXPECT_EQ(frontEnd.exerciseWindow(), w);
}

}  // namespace
}  // namespace volpar::qttest
