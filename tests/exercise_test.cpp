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

namespace volpar::exercise {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr int ADD = 0, LOAD = 1, STORE = 2, INPUT = 3, OUTPUT = 4, BRANCH = 5, BRNEG = 6,
              BRNNEG = 7;
constexpr int op(int code, int address) { return code * 32 + address; }

// A program file as VOLPAR saves it, the bytes not given 0.
std::string programText(const std::map<int, int>& bytes) {
  static const char* const kSections[] = {"First8", "Second8", "Third8", "Fourth8"};
  std::string text;
  for (int a = 0; a < 32; ++a) {
    if (a % 8 == 0) text += std::string("[") + kSections[a / 8] + "]\r\n";
    const int v = bytes.count(a) ? bytes.at(a) : 0;
    text += "Byte" + std::to_string(a) + "=";
    for (int bit = 7; bit >= 0; --bit) text += (v >> bit) & 1 ? '1' : '0';
    text += "\r\n";
  }
  return text;
}

// Keys in any case and order. [Exercise] may set Start, MaxInstructions, End and
// UnusedInput for every test, before or after the tests; a test's own key wins. Text may
// take several lines; a preset is not an expectation.
TEST(ExerciseFile, ReadsEveryKeyAndTheExerciseDefaults) {
  const ExerciseRead read = parseExercise(
      "[Test own]\nInput=1\nStart=31\nMaxInstructions=7\nEnd=input\nUnusedInput=fails\n"
      "Preset30=200\nOutput=\nPC=31\nIR=255\nS=3\nMemory31=255\n[test default]\nInput=\n"
      "[exercise]\ntitle=T\nText=One\nText=\nText=Three\nStart=8\nMaxInstructions=50\n"
      "End= limit \nUnusedInput=allowed\n",
      "t.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const exercise::Test& own = read.exercise->tests[0];
  const exercise::Test& other = read.exercise->tests[1];
  EXPECT_EQ(read.exercise->text, "One\n\nThree");
  EXPECT_EQ(std::vector({own.start, other.start}), std::vector({31, 8}));
  EXPECT_EQ(std::vector({own.maxInstructions, other.maxInstructions}),
            std::vector<std::uint64_t>({7, 50}));
  EXPECT_EQ(std::vector({own.expected.end, other.expected.end}),
            std::vector({End::Input, End::Limit}));
  EXPECT_EQ(std::vector({own.unusedInputAllowed, other.unusedInputAllowed}),
            std::vector({false, true}));
  EXPECT_THAT(*own.expected.output, IsEmpty());  // written but empty: no OUTPUT at all
  EXPECT_FALSE(other.expected.output);
  EXPECT_THAT(other.input, IsEmpty());
  EXPECT_EQ(
      std::vector({*own.expected.pc, *own.expected.ir, *own.expected.s, *own.expected.memory[31]}),
      std::vector({31, 255, 3, 255}));
  EXPECT_EQ(std::vector({*own.preset[30], other.preset[30].value_or(-1),
                         own.expected.memory[30].value_or(-1)}),
            std::vector({200, -1, -1}));
  const ExerciseRead plain = parseExercise("[Exercise]\nTitle=T\n[Test 1]\nOutput=1\n", "p.ini");
  ASSERT_TRUE(plain.exercise) << plain.problem;
  const exercise::Test& test = plain.exercise->tests[0];
  EXPECT_EQ(
      std::tuple(test.start, test.maxInstructions, test.expected.end, test.unusedInputAllowed),
      std::tuple(0, kDefaultMaxInstructions, End::Halt, false));
}

// Each refusal names the file, the section and the key, and says what is wrong. A case is
// the keys of a [Test 1] after a good [Exercise], or a whole file when it starts with "[".
TEST(ExerciseFile, RefusesWhatItCannotCheck) {
  const std::string head = "[Exercise]\nTitle=T\n";
  const std::pair<std::string, std::string> cases[] = {
      {"Output=1\nColour=red", "section [Test 1], key Colour: unknown key"},
      {"Output=1\nMemory32=0", "key Memory32: unknown key"},
      {"Output=1\nMemory07=0", "key Memory07: unknown key"},
      {"Output=256", "key Output: \"256\" is not a whole number from 0 to 255"},
      {"Output=1,,2", "key Output: a value is missing between two commas"},
      {"Input=-1\nOutput=1", "key Input: \"-1\" is not"},
      {"Input=+1\nOutput=1", "key Input: \"+1\" is not"},
      {"Output=1\nStart=32", "key Start: \"32\" is not a whole number from 0 to 31"},
      {"PC=32", "key PC: \"32\" is not a whole number from 0 to 31"},
      {"S=300", "key S: \"300\" is not a whole number from 0 to 255"},
      {"End=stop", "key End: \"stop\" is not one of halt, input and limit"},
      {"Output=1\nHidden=2", "key Hidden: \"2\" is not a whole number from 0 to 1"},
      {"Output=1\nWeight=x", "key Weight: \"x\" is not"},
      {"Input=1\nWeight=2", "section [Test 1], the test checks nothing"},
      {"Output=1\nOutput=2", "key Output: the key is written twice"},
      {"Output", "key Output: the line has no \"=\""},
      {"Output=1\n[test 1]\nOutput=1", "section [test 1], the section is written twice"},
      {"Output=1\n[Tests 2]\nOutput=1", "section [Tests 2], an exercise file has only"},
      {head + "[Hints]\nA=1\n", "section [Hints], an exercise file has only"},
      {head + "MaxInstructions=0\n[Test 1]\nOutput=1\n",
       "key MaxInstructions: \"0\" is not a whole number from 1 to 10000000"},
      {head + "MaxInstructions=10000001\n[Test 1]\nOutput=1\n",
       "key MaxInstructions: \"10000001\""},
      {head + "Author=me\n[Test 1]\nOutput=1\n", "section [Exercise], key Author: unknown key"},
      {"[Exercise]\nText=t\n[Test 1]\nOutput=1\n", "section [Exercise], the key Title is missing"},
      {"[Test 1]\nOutput=1\n", "It has no section [Exercise]"},
      {head, "It has no section [Test ...]: add one, such as [Test 1]"},
      {std::string("[Exercise]\nTitle=T\0\n", 19), "It is not a text file"},
  };
  for (const auto& [content, says] : cases) {
    const ExerciseRead read =
        parseExercise(content[0] == '[' ? content : head + "[Test 1]\n" + content, "add.ini");
    EXPECT_FALSE(read.exercise) << content;
    EXPECT_THAT(read.problem,
                AllOf(HasSubstr("The exercise file \"add.ini\" cannot be used: "), HasSubstr(says)))
        << content;
  }
}

// What a student reads of each test: the registers, memory, presets, unread inputs and the
// place where the output first differs. From 0: INPUT, STORE 20, BRANCH 2; from 8: LOAD 31,
// OUTPUT, BRANCH 10; from 12: INPUT, then OUTPUT and subtract 1 until S turns negative.
TEST(Grader, SaysWhatEachTestGot) {
  const ExerciseRead read = parseExercise(
      "[Exercise]\nTitle=T\n[Test regs]\nInput=9\nS=9\nX=0\nPC=2\nAR=2\nMemory20=9\n"
      "[Test memory]\nInput=9\nMemory20=8\n[Test waits]\nEnd=input\n[Test start]\nStart=2\nIR=162\n"
      "[Test preset]\nStart=8\nPreset31=41\nOutput=41\nMemory31=41\n[Test no preset]\nStart=8\n"
      "Output=41\n[Test unread]\nStart=8\nPreset31=41\nInput=1,2\nOutput=41\n[Test allowed]\n"
      "Start=8\nPreset31=41\nInput=1\nOutput=41\nUnusedInput=allowed\n[Test later]\nStart=12\n"
      "Input=3\nOutput=3,2,9,0\n[Test fewer]\nStart=12\nInput=3\nOutput=3,2,1,0,7\n[Test more]\n"
      "Start=12\nInput=3\nOutput=3,2,1\n[Test none]\nStart=12\nInput=1\nOutput=\n",
      "t.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const Program program = programFromText("p",
                                          programText({{0, op(INPUT, 0)},
                                                       {1, op(STORE, 20)},
                                                       {2, op(BRANCH, 2)},
                                                       {8, op(LOAD, 31)},
                                                       {9, op(OUTPUT, 0)},
                                                       {10, op(BRANCH, 10)},
                                                       {12, op(INPUT, 0)},
                                                       {13, op(OUTPUT, 0)},
                                                       {14, op(ADD, 30)},
                                                       {15, op(BRNNEG, 13)},
                                                       {16, op(BRANCH, 16)},
                                                       {30, 255}}),
                                          true);
  std::vector<std::string> verdicts;
  for (const TestResult& t : gradeProgram(*read.exercise, program).tests)
    verdicts.push_back(verdictLine(t));
  const std::string waited = "end input (it waited for more input than the test gives)";
  EXPECT_THAT(
      verdicts,
      ElementsAre(
          "Test regs: passed (output none, end halt)",
          "Test memory: failed: got output none, end halt; Memory20 expected 8, got 9",
          "Test waits: passed (output none, " + waited + ")",
          "Test start: passed (output none, end halt)", "Test preset: passed (output 41, end halt)",
          "Test no preset: failed: got output 0, end halt",
          "Test unread: failed: got output 41, end halt; Inputs read expected 2, got 0",
          "Test allowed: passed (output 41, end halt)",
          "Test later: failed: got output 3,2,1,0, end halt; Output value 3 expected 9, got 1",
          "Test fewer: failed: got output 3,2,1,0, end halt; Output value 5 expected 7, got none",
          "Test more: failed: got output 3,2,1,0, end halt; Output value 4 expected none, got 0",
          "Test none: failed: got output 1,0, end halt; Output value 1 expected none, got 1"));
}

// A file that File > Open loads only by passing over something is graded with a warning,
// or refused when reading strictly; one that cannot be loaded scores 0.
TEST(Grader, ReportsDamagedProgramFiles) {
  const ExerciseRead read = readExercise(VOLPAR_TEST_DATA "/exercise/add.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const Exercise& exercise = *read.exercise;
  std::ifstream file(VOLPAR_TEST_DATA "/exercise/correct.txt", std::ios::binary);
  const std::string correct{std::istreambuf_iterator<char>(file), {}};
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = correct;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::pair<std::string, std::string> damaged[] = {
      {replaced("Byte7=00000000", "Byte7=0000"), "Byte7 in [First8] has 4 characters"},
      {replaced("Byte7=00000000", "Byte7=0000000o"), "Byte7 in [First8] holds \"0000000o\""},
      {replaced("Byte7=00000000", "Byte7=000000001"), "Byte7 in [First8] has 9 characters"},
      {replaced("Byte9=00000000\r\n", ""), "Byte9 in [Second8] is missing"},
      {correct.substr(0, correct.find("[Fourth8]")), "Section [Fourth8] is missing"},
  };
  for (const auto& [text, warning] : damaged) {
    const Program lenient = programFromText("p", text, false);
    ASSERT_TRUE(lenient.bytes) << warning;
    EXPECT_THAT(lenient.warnings, ElementsAre(HasSubstr(warning)));
    EXPECT_EQ(gradeProgram(exercise, lenient).score, 4) << warning;
    const Program strict = programFromText("p", text, true);
    EXPECT_FALSE(strict.bytes) << warning;
    EXPECT_THAT(strict.error, HasSubstr(warning));
  }
  EXPECT_THAT(programFromText("p", correct, true).warnings, IsEmpty());
}

// One machine serves many tests, rewound between them: a test finds the machine as a new
// one is, whatever the test before it left behind (memory stored to, an INPUT waiting, a
// run stopped at the limit), so a verdict never depends on the order of the tests.
// 0 INPUT, 1 ADD 30, 2 STORE 30, 3 OUTPUT, 4 BRANCH 4; from 5: ADD 31, BRANCH 5 for ever.
const std::map<int, int> kMarker = {
    {0, op(INPUT, 0)},  {1, op(ADD, 30)}, {2, op(STORE, 30)}, {3, op(OUTPUT, 0)},
    {4, op(BRANCH, 4)}, {5, op(ADD, 31)}, {6, op(BRANCH, 5)}, {31, 1}};

TEST(Grader, AVerdictDoesNotDependOnTheTestBefore) {
  ExerciseRead read = parseExercise(
      "[Exercise]\nTitle=T\nMaxInstructions=20000\n"
      "[Test 1]\nInput=5\nOutput=5\nMemory30=5\n"
      "[Test 2]\nStart=5\nEnd=limit\n"
      "[Test 3]\nEnd=input\nOutput=\n"
      "[Test 4]\nInput=9\nOutput=9\nS=9\nMemory30=9\n",
      "t.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const Program program = programFromText("p", programText(kMarker), true);
  ASSERT_TRUE(program.bytes) << program.error;
  for (const std::vector<int>& order : {std::vector{0, 1, 2, 3}, std::vector{3, 2, 0, 1},
                                        std::vector{1, 3, 2, 0}, std::vector{0, 0, 3, 3}}) {
    Exercise exercise = *read.exercise;
    exercise.tests.clear();
    for (int t : order) exercise.tests.push_back(read.exercise->tests[static_cast<std::size_t>(t)]);
    const ProgramResult result = gradeProgram(exercise, program);
    EXPECT_EQ(result.score, 4) << "order " << ::testing::PrintToString(order);
    for (const TestResult& tested : result.tests) {
      // The same test alone on a machine of its own.
      EXPECT_EQ(tested.got, runTest(*program.bytes, *tested.test))
          << tested.test->name << " in order " << ::testing::PrintToString(order);
    }
  }
}

// Rewound, a machine is a new one again down to the colour of every register cell, and
// runs as a new one does.
TEST(HeadlessMachine, RewoundIsAsNew) {
  const Program program = programFromText("p", programText(kMarker), true);
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
    used.markFresh();
    used.loadBytes(*program.bytes);
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
