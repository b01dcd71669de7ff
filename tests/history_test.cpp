// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "history/execution_history.h"
#include "support/data_table.h"
#include "support/form_state.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class History : public ScreensFixture {
 protected:
  history::ExecutionHistory history{app};

  bool waitingForInput() { return rexec().Command_Input_Window_OK.usable(); }
  std::string lines() {
    std::string out;
    for (std::size_t i = 0; i < history.lineCount(); ++i) out += history.line(i) + "\n";
    return out;
  }
  void answer(int value) {
    for (int i = 1; i <= 8; ++i) type(rexec().Input_bit(i), ((value >> (8 - i)) & 1) ? "1" : "0");
    click(rexec().Command_Input_Window_OK);
  }
  // One user action or tick towards the next phase, as a student would do it.
  void nudge(std::mt19937& rng) {
    REXEC& r = rexec();
    // The answer depends on the point in the run only, so a replay answers alike.
    if (waitingForInput()) return answer(static_cast<int>(history.phaseCount() * 37 % 256));
    if (r.manual_radio.Value()) return click(r.Command_Begin_Step);
    if (!r.Timer1.enabled())
      for (ui::CommandButton* b :
           {&r.Command_One_instruction, &r.Command_Resume, &r.Command_Begin_Step})
        if (b->usable()) return click(*b);
    if (rng() % 16 == 0 && r.Command_Pause.usable()) click(r.Command_Pause);
    tick();
  }
  // Everything a student can see or the engine can read: every property of every element of
  // both screens, the forms' own state, and the module variables.
  std::string state() {
    const REXEC_Manual& m = manual();
    std::ostringstream vars;
    vars << "Clock_Phase " << m.Clock_Phase << " At_Phase_Zero " << m.At_Phase_Zero
         << " Pause_At_T0 " << m.Pause_At_T0 << " guards " << m.Text_Driving_Bits
         << m.Bits_Driving_Text << " rate " << m.Clock_Rate;
    return screens() + vars.str();
  }
  // Every op code once at addresses 0 to 7 in a random order, data operands in 8 to 31,
  // branches back into 0 to 7; random data with a few black bits after them.
  void randomProgram(std::mt19937& rng) {
    std::vector<int> ops{0, 1, 2, 3, 4, 5, 6, 7};
    std::shuffle(ops.begin(), ops.end(), rng);
    for (int a = 0; a < 8; ++a) {  // op codes 5 to 7 branch
      const int op = ops[static_cast<std::size_t>(a)];
      poke(a, op, op >= 5 ? static_cast<int>(rng() % 8) : 8 + static_cast<int>(rng() % 24));
    }
    for (int a = 8; a < 32; ++a) {
      std::string bits = toBits(static_cast<int>(rng() % 256));
      if (rng() % 4 == 0) bits[rng() % 8] = 'x';
      poke(a, bits);
    }
  }
};

// Seeds 1 and 2 run with the manual clock, the others with the automatic one.
class HistoryRoundTrip : public History, public ::testing::WithParamInterface<unsigned> {};

// Going back phase by phase passes through exactly the states before each phase (manual:
// before each Step; automatic: the same but for the stopped clock) down to the start.
TEST_P(HistoryRoundTrip, StepBackRestoresEveryElementAndModuleVariable) {
  std::mt19937 rng(GetParam());
  const bool manualClock = GetParam() <= 2;
  randomProgram(rng);
  if (manualClock) chooseManual();
  startAt(0);
  const std::string start = state();

  std::vector<std::string> before;  // before the event of each phase
  for (int events = 0; history.phaseCount() < 150 && events < 2000; ++events) {
    const std::size_t phases = history.phaseCount();
    std::string now = state();
    nudge(rng);
    if (history.phaseCount() > phases) before.push_back(std::move(now));
  }
  if (rexec().Timer1.enabled()) click(rexec().Command_Pause);
  tickUntilStopped();
  while (before.size() < history.phaseCount()) before.push_back({});  // the pause's phases
  ASSERT_TRUE(history.canStepBack());
  const std::string end = state();

  // Back k and forward k again, in manual mode with the same answers, gives the same end.
  if (manualClock) {
    const std::size_t n = history.phaseCount();
    for (int i = 0; i < 20; ++i) history.stepBack();
    while (history.phaseCount() < n) nudge(rng);
    ASSERT_EQ(state(), end) << "after going back and forth";
  }

  for (std::size_t n = history.phaseCount(); n > 0; --n) {
    history.stepBack();
    ASSERT_EQ(history.phaseCount(), n - 1);
    if (manualClock) {
      ASSERT_EQ(state(), before[n - 1]) << "stepping back phase " << n;
    }
    ASSERT_FALSE(rexec().Timer1.enabled()) << "stepping back phase " << n;
  }
  EXPECT_EQ(state(), start);
  EXPECT_FALSE(history.canStepBack());
}

INSTANTIATE_TEST_SUITE_P(SeededPrograms, HistoryRoundTrip, ::testing::Range(1u, 6u));

// Counts what the windows would hear of: every element's changes.
struct ChangeCounter : ui::FormObserver {
  std::map<const ui::Element*, int> changes;
  void elementChanged(ui::Element& element) override { ++changes[&element]; }
  void formChanged(ui::Form&, FormEvent) override {}
};

// Going back over a long run to its first line, or a step back, tells the windows of each
// element that changed at most a few times (a default button hears of the old and the new
// one), however often it changed on the way: each is a repaint queued. The screens are then
// exactly as at the start.
TEST_F(History, GoingBackFarRepaintsEachElementOnlyOnce) {
  std::mt19937 rng(7);
  randomProgram(rng), startAt(0);
  const std::string start = state();
  for (int events = 0; history.phaseCount() < 2000 && events < 20000; ++events) nudge(rng);
  if (rexec().Timer1.enabled()) click(rexec().Command_Pause);
  tickUntilStopped();
  ASSERT_GE(history.phaseCount(), 2000u);
  ChangeCounter counter;
  rexec().setObserver(&counter), input().setObserver(&counter);
  history.stepBack(), history.goBackTo(0);
  rexec().setObserver(nullptr), input().setObserver(nullptr);
  ASSERT_FALSE(counter.changes.empty());
  for (const auto& [element, count] : counter.changes)
    EXPECT_LE(count, 4) << element->displayName();
  EXPECT_EQ(state(), start);
}

// A short program in manual mode: the newest line after each Step, then the whole history.
TEST_F(History, TextOfAShortProgramLineForLine) {
  // INPUT, ADD 9, STORE 10, OUTPUT, BR Neg 6, BRANCH 5; memory[9] = 000000x1.
  pokeFrom(0, {"01100000", "00001001", "01001010", "10000000", "11000110", "10100101"});
  poke(9, "000000x1"), chooseManual(), startAt(0);
  std::string text;
  for (int presses = 0; history.phaseCount() < 7 * 8 && presses < 100; ++presses) {
    if (waitingForInput()) answer(5);
    step();
    const std::size_t n = history.lineCount();
    const std::string newest = history.line(n - 1);
    text += (newest.starts_with("the program") ? history.line(n - 2) : newest) + "\n";
  }
  expectGolden("history/short_program.txt", text + "--\n" + lines());
}

// At 1000 Hz a program's end runs its branch to itself thousands of times: one line with the
// count, then the end line; the same byte branching elsewhere is a line of its own. A click
// on an instruction goes back to its first phase, on the repeated one to its first run.
TEST_F(History, TheEndsRepeatedBranchIsOneLineAndAClickGoesBackToAnInstructionsFirstPhase) {
  // LOAD 8, ADD 8, BRANCH 4, (never run), BRANCH 4
  pokeFrom(0, {"00101000", "00001000", "10100100", "00000000", "10100100"}), startAt(0);
  click(rexec().Command_Begin_Step);
  for (int i = 0; i < 3 * 8 + 1233 * 8 + 3; ++i) tick();
  click(rexec().Command_Pause);
  EXPECT_EQ(tickUntilStopped(), 5);
  std::string seen = "-- paused at the end\n" + lines();
  history.goBackTo(4);
  seen += "-- clicked on line 4\n" + lines();
  history.goBackTo(2);
  seen += "-- clicked on line 2\n" + lines() + "clock " + clockCells() + ", PC " +
          rexec().Register_PC_Decimal.Caption() + ", AR " +
          rexec().Register_Address_Decimal.Caption() + "\n";
  expectGolden("history/repeated_branch.txt", seen);
}

// A new start, Restart, a program loaded or a byte sent to memory begin a new history; a
// running clock cannot go back.
TEST_F(History, NewStartRestartLoadAndMemoryEditsClearIt) {
  for (const std::string what : {"new start", "restart", "load", "send to memory"}) {
    SCOPED_TRACE(what);
    pokeFrom(0, {"00100000", "10100000"});  // LOAD 0, BRANCH 0
    chooseManual(), startAt(0), step(8);
    ASSERT_EQ(history.phaseCount(), 8U);
    if (what == "restart") click(rexec().Command_Restart);
    if (what == "load") platform.openAnswers.push_back(VOLPAR_TEST_DATA "/countdown.txt");
    if (what == "load") click(input().Open_menu);
    if (what == "new start" || what == "send to memory") click(rexec().Command_Return_to_Input);
    if (what == "new start") startAt(3);
    if (what == "send to memory") sendTo(0);  // zeros over the LOAD
    EXPECT_EQ(history.phaseCount(), 0U);
    EXPECT_FALSE(history.canStepBack());
  }
  click(rexec().Command_Restart);  // the automatic clock again
  startAt(0), click(rexec().Command_Begin_Step), tick();
  EXPECT_EQ(history.phaseCount(), 1U);
  EXPECT_FALSE(history.canStepBack());
  click(rexec().Command_Pause), tickUntilStopped();
  EXPECT_TRUE(history.canStepBack());
}

}  // namespace
}  // namespace volpar::testing
