// SPDX-License-Identifier: GPL-3.0-or-later
// Exercise files and the grader: what a teacher writes, and the verdicts programs get.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "exercise/check.h"
#include "exercise/exercise_file.h"
#include "exercise/grader.h"
#include "exercise/headless_machine.h"
#include "support/data_table.h"

namespace volpar::exercise {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Each test as the grader takes it: the student's line, then its run settings, registers,
// memory and presets ("-" for unset); the exercise's text first.
std::string described(const std::string& content) {
  const ExerciseRead read = parseExercise(content, "t.ini");
  if (!read.exercise) return read.problem;
  const auto v = [](const std::optional<int>& o) { return o ? std::to_string(*o) : "-"; };
  std::string out = "text \"" + read.exercise->text + "\"\n";
  for (const Test& t : read.exercise->tests) {
    out += testLine(t) + "; start " + std::to_string(t.start) + ", at most " +
           std::to_string(t.maxInstructions) + ", unused input " +
           (t.unusedInputAllowed ? "allowed" : "fails") + "; PC " + v(t.expected.pc) + " IR " +
           v(t.expected.ir) + " S " + v(t.expected.s) + " Memory30 " + v(t.expected.memory[30]) +
           " Memory31 " + v(t.expected.memory[31]) + " Preset30 " + v(t.preset[30]) + "\n";
  }
  return out;
}

// Keys in any case and order. [Exercise] may set Start, MaxInstructions, End and
// UnusedInput for every test, before or after the tests; a test's own key wins. Text may
// take several lines; a preset is not an expectation. Without them: start 0, the default
// limit, end halt, unused input fails (tests/data/exercise/keys.expected).
TEST(ExerciseFile, ReadsEveryKeyAndTheExerciseDefaults) {
  testing::expectGolden(
      "exercise/keys.expected",
      described("[Test own]\nInput=1\nStart=31\nMaxInstructions=7\nEnd=input\nUnusedInput=fails\n"
                "Preset30=200\nOutput=\nPC=31\nIR=255\nS=3\nMemory31=255\n[test default]\nInput=\n"
                "[exercise]\ntitle=T\nText=One\nText=\nText=Three\nStart=8\nMaxInstructions=50\n"
                "End= limit \nUnusedInput=allowed\n") +
          described("[Exercise]\nTitle=T\n[Test 1]\nOutput=1\n"));
}

// Each refusal names the file, the section and the key, and says what is wrong: the cases
// in tests/data/exercise/refusals.txt.
TEST(ExerciseFile, RefusesWhatItCannotCheck) {
  for (const testing::Row& row : testing::readTable("exercise/refusals.txt")) {
    const std::string content = testing::unescape(row[0]);
    const ExerciseRead read = parseExercise(
        content[0] == '[' ? content : "[Exercise]\nTitle=T\n[Test 1]\n" + content, "add.ini");
    EXPECT_FALSE(read.exercise) << row[0];
    EXPECT_THAT(read.problem, AllOf(HasSubstr("The exercise file \"add.ini\" cannot be used: "),
                                    HasSubstr(row[1])))
        << row[0];
  }
}

// What a student reads of each test: the registers, memory, presets, unread inputs and the
// place where the output first differs. From 0: INPUT, STORE 20, BRANCH 2; from 8: LOAD 31,
// OUTPUT, BRANCH 10; from 12: INPUT, then OUTPUT and subtract 1 until S turns negative.
TEST(Grader, SaysWhatEachTestGot) {
  const ExerciseRead read = readExercise(VOLPAR_TEST_DATA "/exercise/verdicts.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const Program program = programFromText(
      "p",
      "INPUT\nSTORE 20\nBRANCH 2\nORG 8\nLOAD 31\nOUTPUT\nBRANCH 10\nORG 12\nINPUT\nOUTPUT\n"
      "ADD 30\nBRNNEG 13\nBRANCH 16\nORG 30\nDATA 255",
      true);
  std::string verdicts;
  for (const TestResult& t : gradeProgram(*read.exercise, program).tests)
    verdicts += verdictLine(t) + "\n";
  testing::expectGolden("exercise/verdicts.expected", verdicts);
}

// A file that File > Open loads only by passing over something is graded with a warning
// saying what was passed over (graded, or refused when reading strictly: tests/cli); the
// cases in tests/data/exercise/damaged.txt.
TEST(Grader, ReportsDamagedProgramFiles) {
  std::ifstream file(VOLPAR_TEST_DATA "/exercise/correct.txt", std::ios::binary);
  const std::string correct{std::istreambuf_iterator<char>(file), {}};
  for (const testing::Row& row : testing::readTable("exercise/damaged.txt")) {
    std::string text = correct;
    const std::string from = testing::unescape(row[0]);
    const Program lenient =
        programFromText("p", text.replace(text.find(from), from.size(), row[1]), false);
    ASSERT_TRUE(lenient.bytes) << row[2];
    EXPECT_THAT(lenient.warnings, ElementsAre(HasSubstr(row[2])));
  }
  EXPECT_THAT(programFromText("p", correct, true).warnings, IsEmpty());
}

// 0 INPUT, 1 ADD 30, 2 STORE 30, 3 OUTPUT, 4 BRANCH 4; from 5: ADD 31, BRANCH 5 for ever.
constexpr const char* kMarker =
    "INPUT\nADD 30\nSTORE 30\nOUTPUT\nBRANCH 4\nADD 31\nBRANCH 5\nORG 31\nDATA 1";

// One machine serves many tests, rewound between them: rewound, a machine is a new one
// again down to the colour of every register cell, and runs as a new one does, whatever the
// test before it left behind (memory stored to, an INPUT waiting, a run stopped at the
// limit), so a verdict never depends on the order of the tests.
TEST(HeadlessMachine, RewoundIsAsNew) {
  const Program program = programFromText("p", kMarker, true);
  ASSERT_TRUE(program.bytes);
  using R = MachineView::Register;
  const auto state = [](const HeadlessMachine& m) {
    std::vector<int> s{m.view().phase(), m.view().atInstructionBoundary(),
                       static_cast<int>(m.instructions())};
    for (R r : {R::PC, R::AR, R::IR, R::X, R::Y, R::S, R::Output})
      s.insert(s.end(), {m.view().value(r), m.view().cells(r)});
    for (int a = 0; a < 32; ++a) s.push_back(m.view().memory(a));
    return s;
  };
  // Before: a run to its end, an INPUT left waiting, a run stopped at its limit.
  for (const auto& [start, input, limit] :
       {std::tuple(0, std::vector{200}, 1000), std::tuple(0, std::vector<int>{}, 1000),
        std::tuple(5, std::vector<int>{}, 20000)}) {
    HeadlessMachine used;
    EXPECT_FALSE(used.rewind()) << "nothing to rewind to yet";
    used.markFresh(), used.loadBytes(*program.bytes);
    used.run(start, input, static_cast<std::uint64_t>(limit));
    ASSERT_TRUE(used.rewind()) << start << " " << limit;
    HeadlessMachine fresh;
    EXPECT_EQ(state(used), state(fresh)) << start << " " << limit;
    for (HeadlessMachine* m : {&used, &fresh}) {
      m->loadBytes(*program.bytes);
      EXPECT_EQ(m->run(0, {7}, 1000), End::Halt) << start << " " << limit;
    }
    EXPECT_EQ(state(used), state(fresh)) << start << " " << limit;
    EXPECT_EQ(used.view().memory(30), 7) << start << " " << limit;
  }
}

}  // namespace
}  // namespace volpar::exercise
