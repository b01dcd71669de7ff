// SPDX-License-Identifier: GPL-3.0-or-later
// Exercise files and the grader: what a teacher writes, and the verdicts programs get.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exercise/check.h"
#include "exercise/exercise_file.h"
#include "exercise/grader.h"
#include "exercise/headless_machine.h"
#include "exercise/similarity.h"

namespace volpar::exercise {
namespace {

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

const std::string kAddExercise =
    "[Exercise]\nTitle=Add two numbers\nText=Read two numbers with INPUT, output their sum, "
    "then stop.\nMaxInstructions=1000\n\n"
    "[Test 1]\nInput=5,7\nOutput=12\n\n"
    "[Test 2]\nInput=200,100\nOutput=44\nHidden=1\nWeight=2\n\n"
    "[Test 3]\nInput=0,0\nOutput=0\nMemory30=0\nEnd=halt\n";

Exercise addExercise() {
  ExerciseRead read = parseExercise(kAddExercise, "add.ini");
  EXPECT_TRUE(read.exercise) << read.problem;
  return *read.exercise;
}

TEST(ExerciseFile, ReadsEveryKey) {
  const Exercise e = addExercise();
  EXPECT_EQ(e.title, "Add two numbers");
  EXPECT_EQ(e.text, "Read two numbers with INPUT, output their sum, then stop.");
  EXPECT_EQ(e.maxInstructions, 1000u);
  ASSERT_EQ(e.tests.size(), 3u);
  EXPECT_EQ(e.tests[0].name, "Test 1");
  EXPECT_THAT(e.tests[0].input, ElementsAre(5, 7));
  EXPECT_THAT(*e.tests[0].expected.output, ElementsAre(12));
  EXPECT_EQ(e.tests[0].expected.end, End::Halt);  // not written: halt
  EXPECT_FALSE(e.tests[0].hidden);
  EXPECT_EQ(e.tests[0].weight, 1);
  EXPECT_TRUE(e.tests[1].hidden);
  EXPECT_EQ(e.tests[1].weight, 2);
  EXPECT_EQ(e.tests[2].expected.memory[30], 0);
  EXPECT_FALSE(e.tests[2].expected.memory[29]);

  const ExerciseRead more = parseExercise(
      "[exercise]\ntitle=T\n[Test a]\nOutput=\nEnd=input\nStart=31\nPC=31\nAR=0\nIR=255\n"
      "X=1\nY=2\nS=3\nMemory31=255\n[Test b]\nEnd= limit \nInput=\n",
      "f.ini");
  ASSERT_TRUE(more.exercise) << more.problem;
  const exercise::Test& a = more.exercise->tests[0];
  EXPECT_EQ(more.exercise->maxInstructions, kDefaultMaxInstructions);
  EXPECT_THAT(*a.expected.output, IsEmpty());  // written but empty: no OUTPUT at all
  EXPECT_EQ(a.expected.end, End::Input);
  EXPECT_EQ(a.start, 31);
  EXPECT_EQ(*a.expected.pc, 31);
  EXPECT_EQ(*a.expected.ir, 255);
  EXPECT_EQ(*a.expected.s, 3);
  EXPECT_EQ(a.expected.memory[31], 255);
  EXPECT_EQ(more.exercise->tests[1].expected.end, End::Limit);
  EXPECT_FALSE(more.exercise->tests[1].expected.output);
}

// Each refusal names the file, the section and the key, and says what is wrong.
TEST(ExerciseFile, RefusesWhatItCannotCheck) {
  const std::string head = "[Exercise]\nTitle=T\n";
  const struct {
    std::string content;
    std::string says;
  } cases[] = {
      {head + "[Test 1]\nOutput=1\nColour=red\n", "section [Test 1], key Colour: unknown key"},
      {head + "[Test 1]\nOutput=1\nMemory32=0\n", "key Memory32: unknown key"},
      {head + "[Test 1]\nOutput=1\nMemory07=0\n", "key Memory07: unknown key"},
      {head + "[Test 1]\nOutput=256\n", "key Output: \"256\" is not a whole number from 0 to 255"},
      {head + "[Test 1]\nOutput=1,,2\n", "key Output: a value is missing between two commas"},
      {head + "[Test 1]\nInput=-1\nOutput=1\n", "key Input: \"-1\" is not"},
      {head + "[Test 1]\nInput=+1\nOutput=1\n", "key Input: \"+1\" is not"},
      {head + "[Test 1]\nOutput=1\nStart=32\n",
       "key Start: \"32\" is not a whole number from 0 to 31"},
      {head + "[Test 1]\nPC=32\n", "key PC: \"32\" is not a whole number from 0 to 31"},
      {head + "[Test 1]\nS=300\n", "key S: \"300\" is not a whole number from 0 to 255"},
      {head + "[Test 1]\nEnd=stop\n", "key End: \"stop\" is not one of halt, input and limit"},
      {head + "[Test 1]\nOutput=1\nHidden=2\n",
       "key Hidden: \"2\" is not a whole number from 0 to 1"},
      {head + "[Test 1]\nOutput=1\nWeight=x\n", "key Weight: \"x\" is not"},
      {head + "[Test 1]\nInput=1\nWeight=2\n", "section [Test 1], the test checks nothing"},
      {head + "[Test 1]\nOutput=1\nOutput=2\n", "key Output: the key is written twice"},
      {head + "[Test 1]\nOutput\n", "key Output: the line has no \"=\""},
      {head + "[Test 1]\nOutput=1\n[test 1]\nOutput=1\n",
       "section [test 1], the section is written twice"},
      {head + "[Hints]\nA=1\n", "section [Hints], an exercise file has only"},
      {head + "[Test 1]\nOutput=1\n[Tests 2]\nOutput=1\n", "section [Tests 2], an exercise file"},
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
  for (const auto& c : cases) {
    const ExerciseRead read = parseExercise(c.content, "add.ini");
    EXPECT_FALSE(read.exercise) << c.content;
    EXPECT_THAT(read.problem, HasSubstr("The exercise file \"add.ini\" cannot be used: "))
        << c.content;
    EXPECT_THAT(read.problem, HasSubstr(c.says)) << c.content;
  }
}

TEST(ExerciseFile, AFileThatCannotBeReadIsNamed) {
  const ExerciseRead read = readExercise("/nonexistent/add.ini");
  EXPECT_FALSE(read.exercise);
  EXPECT_THAT(read.problem, HasSubstr("\"/nonexistent/add.ini\" cannot be used"));
}

// INPUT, STORE 30, INPUT, ADD 30, OUTPUT, then an end at 5.
std::map<int, int> adder(int endAt5) {
  return {{0, op(INPUT, 0)}, {1, op(STORE, 30)}, {2, op(INPUT, 0)},
          {3, op(ADD, 30)},  {4, op(OUTPUT, 0)}, {5, endAt5}};
}

struct Verdict {
  std::string program;
  std::map<int, int> bytes;
  int score;
  std::vector<bool> passed;
  std::vector<End> ends;
  std::string firstDifference;  // of the first failed test
};

TEST(Grader, GivesEachProgramItsVerdict) {
  const Exercise exercise = addExercise();
  const Verdict verdicts[] = {
      {"correct",
       adder(op(BRANCH, 5)),
       4,
       {true, true, true},
       {End::Halt, End::Halt, End::Halt},
       ""},
      // Every sum here is below 128: BR NNeg to itself is taken, BR Neg is not.
      {"conditional halt",
       adder(op(BRNNEG, 5)),
       4,
       {true, true, true},
       {End::Halt, End::Halt, End::Halt},
       ""},
      {"untaken branch runs on to the INPUT at 0",
       adder(op(BRNEG, 5)),
       0,
       {false, false, false},
       {End::Input, End::Input, End::Input},
       "End"},
      // Test 3's output is right, but its second input was never read.
      {"outputs the first input only",
       {{0, op(INPUT, 0)}, {1, op(OUTPUT, 0)}, {2, op(BRANCH, 2)}},
       0,
       {false, false, false},
       {End::Halt, End::Halt, End::Halt},
       "Output value 1"},
      {"waits for a third input",
       {{0, op(INPUT, 0)}, {1, op(INPUT, 0)}, {2, op(INPUT, 0)}, {3, op(BRANCH, 3)}},
       0,
       {false, false, false},
       {End::Input, End::Input, End::Input},
       "Output value 1"},
      {"leaves memory 30 changed",
       {{0, op(INPUT, 0)},
        {1, op(STORE, 29)},
        {2, op(INPUT, 0)},
        {3, op(ADD, 29)},
        {4, op(OUTPUT, 0)},
        {5, op(ADD, 31)},
        {6, op(STORE, 30)},
        {7, op(BRANCH, 7)},
        {31, 1}},
       3,
       {true, true, false},
       {End::Halt, End::Halt, End::Halt},
       "Memory30"},
      {"counts on for ever",
       {{0, op(ADD, 31)}, {1, op(BRANCH, 0)}, {31, 1}},
       0,
       {false, false, false},
       {End::Limit, End::Limit, End::Limit},
       "Output value 1"},
  };
  for (const Verdict& v : verdicts) {
    const Program program = programFromText(v.program, programText(v.bytes), true);
    ASSERT_TRUE(program.bytes) << program.error;
    const ProgramResult result = gradeProgram(exercise, program);
    EXPECT_EQ(result.maxScore, 4);
    EXPECT_EQ(result.score, v.score) << v.program;
    ASSERT_EQ(result.tests.size(), 3u);
    std::string first;
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(result.tests[i].passed(), v.passed[i]) << v.program << " test " << i + 1;
      EXPECT_EQ(result.tests[i].got.end, v.ends[i]) << v.program << " test " << i + 1;
      if (first.empty() && result.tests[i].difference) first = result.tests[i].difference->what;
    }
    EXPECT_EQ(first, v.firstDifference) << v.program;
    EXPECT_EQ(result.passed(), v.score == 4) << v.program;
  }
}

TEST(Grader, ComparesRegistersMemoryAndTheEndAfterTheRun) {
  ExerciseRead read = parseExercise(
      "[Exercise]\nTitle=T\n[Test 1]\nInput=9\nS=9\nX=0\nPC=2\nAR=2\nMemory20=9\n"
      "[Test 2]\nInput=9\nMemory20=8\n[Test 3]\nEnd=input\n[Test 4]\nStart=2\nIR=162\n",
      "t.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  // INPUT, STORE 20, BRANCH 2.
  const Program program = programFromText(
      "p", programText({{0, op(INPUT, 0)}, {1, op(STORE, 20)}, {2, op(BRANCH, 2)}}), true);
  const ProgramResult r = gradeProgram(*read.exercise, program);
  ASSERT_EQ(r.tests.size(), 4u);
  EXPECT_TRUE(r.tests[0].passed()) << r.tests[0].difference->what;
  ASSERT_FALSE(r.tests[1].passed());
  EXPECT_EQ(r.tests[1].difference->what, "Memory20");
  EXPECT_EQ(r.tests[1].difference->expected, "8");
  EXPECT_EQ(r.tests[1].difference->got, "9");
  EXPECT_TRUE(r.tests[2].passed());  // no input given: the first INPUT waits
  EXPECT_TRUE(r.tests[3].passed());  // started on the BRANCH 2 itself
  EXPECT_EQ(r.tests[3].got.instructions, 1u);
}

// A file that File > Open loads only by passing over something is graded with a warning,
// or refused when reading strictly; one that cannot be loaded scores 0.
TEST(Grader, ReportsDamagedProgramFiles) {
  const Exercise exercise = addExercise();
  std::string correct = programText(adder(op(BRANCH, 5)));
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = correct;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    std::string name, text, warning;
  } damaged[] = {
      {"short", replaced("Byte7=00000000", "Byte7=0000"), "Byte7 in [First8] has 4 characters"},
      {"letters", replaced("Byte7=00000000", "Byte7=0000000o"),
       "Byte7 in [First8] holds \"0000000o\""},
      {"long", replaced("Byte7=00000000", "Byte7=000000001"), "Byte7 in [First8] has 9 characters"},
      {"missing key", replaced("Byte9=00000000\r\n", ""), "Byte9 in [Second8] is missing"},
      {"missing section", correct.substr(0, correct.find("[Fourth8]")),
       "Section [Fourth8] is missing"},
  };
  for (const auto& d : damaged) {
    const Program lenient = programFromText(d.name, d.text, false);
    ASSERT_TRUE(lenient.bytes) << d.name;
    ASSERT_EQ(lenient.warnings.size(), 1u) << d.name;
    EXPECT_THAT(lenient.warnings[0], HasSubstr(d.warning));
    EXPECT_EQ(gradeProgram(exercise, lenient).score, 4) << d.name;

    const Program strict = programFromText(d.name, d.text, true);
    EXPECT_FALSE(strict.bytes) << d.name;
    EXPECT_THAT(strict.error, HasSubstr(d.warning));
    const ProgramResult refused = gradeProgram(exercise, strict);
    EXPECT_EQ(refused.score, 0);
    EXPECT_EQ(refused.maxScore, 4);
    EXPECT_FALSE(refused.passed());
  }
  EXPECT_THAT(programFromText("p", correct, true).warnings, IsEmpty());
  const Program binary = programFromText("b", std::string("[First8]\0", 9), false);
  EXPECT_FALSE(binary.bytes);
  EXPECT_THAT(binary.error, HasSubstr("\"b\" could not be loaded: It is not a text file"));
  EXPECT_THAT(readProgram("/nonexistent/p.txt", false).error, HasSubstr("could not be loaded"));
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
  const struct {
    const char* before;
    int start;
    std::vector<int> input;
    std::uint64_t limit;
  } cases[] = {
      {"a run to its end", 0, {200}, 1000},
      {"an INPUT left waiting", 0, {}, 1000},
      {"a run stopped at its limit", 5, {}, 20000},
  };
  using R = MachineView::Register;
  const auto state = [](const HeadlessMachine& m) {
    std::vector<int> s{m.view().phase(), m.view().atInstructionBoundary(),
                       static_cast<int>(m.instructions())};
    for (R r : {R::PC, R::AR, R::IR, R::X, R::Y, R::S, R::Output}) {
      s.push_back(m.view().value(r));
      s.push_back(m.view().cells(r));
    }
    for (int a = 0; a < 32; ++a) s.push_back(m.view().memory(a));
    return s;
  };
  for (const auto& c : cases) {
    HeadlessMachine used;
    EXPECT_FALSE(used.rewind()) << "nothing to rewind to yet";
    used.markFresh();
    used.loadBytes(*program.bytes);
    used.run(c.start, c.input, c.limit);
    ASSERT_TRUE(used.rewind()) << c.before;
    HeadlessMachine fresh;
    EXPECT_EQ(state(used), state(fresh)) << c.before;
    for (HeadlessMachine* m : {&used, &fresh}) {
      m->loadBytes(*program.bytes);
      EXPECT_EQ(m->run(0, {7}, 1000), End::Halt) << c.before;
    }
    EXPECT_EQ(state(used), state(fresh)) << c.before;
    EXPECT_EQ(used.view().memory(30), 7) << c.before;
  }
}

// [Exercise] may set Start, MaxInstructions, End and UnusedInput for every test, before or
// after the tests; a test's own key wins. Text may take several lines.
TEST(ExerciseFile, TestsTakeTheExerciseDefaultsUnlessTheySetTheirOwn) {
  const ExerciseRead read = parseExercise(
      "[Test own]\nInput=1\nStart=3\nMaxInstructions=7\nEnd=input\nUnusedInput=fails\n"
      "Preset30=200\n[Test default]\nInput=1\n"
      "[Exercise]\nTitle=T\nText=One\nText=\nText=Three\nStart=8\nMaxInstructions=50\n"
      "End=limit\nUnusedInput=allowed\n",
      "t.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const exercise::Test& own = read.exercise->tests[0];
  const exercise::Test& other = read.exercise->tests[1];
  EXPECT_EQ(read.exercise->text, "One\n\nThree");
  EXPECT_EQ(std::vector({own.start, other.start}), std::vector({3, 8}));
  EXPECT_EQ(std::vector({own.maxInstructions, other.maxInstructions}),
            std::vector<std::uint64_t>({7, 50}));
  EXPECT_EQ(std::vector({own.expected.end, other.expected.end}),
            std::vector({End::Input, End::Limit}));
  EXPECT_EQ(std::vector({own.unusedInputAllowed, other.unusedInputAllowed}),
            std::vector({false, true}));
  EXPECT_EQ(own.preset[30], 200);
  EXPECT_FALSE(own.expected.memory[30]) << "a preset is not an expectation";
  EXPECT_FALSE(other.preset[30]);
}

// Presets put data into memory before the run; inputs left unread fail a test unless the
// exercise allows them. The program starts at 8 (the exercise's Start): LOAD 31, OUTPUT,
// BRANCH 10.
TEST(Grader, PresetsAndUnreadInputs) {
  const ExerciseRead read = parseExercise(
      "[Exercise]\nTitle=T\nStart=8\n"
      "[Test preset]\nPreset31=41\nOutput=41\nMemory31=41\n"
      "[Test no preset]\nOutput=41\n"
      "[Test unread]\nPreset31=41\nInput=1,2\nOutput=41\n"
      "[Test allowed]\nPreset31=41\nInput=1\nOutput=41\nUnusedInput=allowed\n",
      "t.ini");
  ASSERT_TRUE(read.exercise) << read.problem;
  const Program program = programFromText(
      "p", programText({{8, op(LOAD, 31)}, {9, op(OUTPUT, 0)}, {10, op(BRANCH, 10)}}), true);
  const ProgramResult r = gradeProgram(*read.exercise, program);
  std::vector<std::string> verdicts;
  for (const TestResult& t : r.tests) verdicts.push_back(verdictLine(t));
  EXPECT_THAT(
      verdicts,
      ElementsAre("Test preset: passed (output 41, end halt)",
                  "Test no preset: failed: got output 0, end halt",
                  "Test unread: failed: got output 41, end halt; Inputs read expected 2, got 0",
                  "Test allowed: passed (output 41, end halt)"));
}

// A student reads where the output first differs.
TEST(Grader, SaysWhereTheOutputFirstDiffers) {
  const struct {
    std::vector<int> expected, got;
    std::string what, wanted, had;
  } lists[] = {
      {{1, 2, 3}, {1, 2, 4}, "Output value 3", "3", "4"},
      {{1, 2}, {1}, "Output value 2", "2", "none"},
      {{1}, {1, 5}, "Output value 2", "none", "5"},
      {{}, {7}, "Output value 1", "none", "7"},
  };
  for (const auto& c : lists) {
    exercise::Test test;
    test.expected.output = c.expected;
    TestRun got;
    got.end = End::Halt;
    got.outputs = c.got;
    const auto d = firstDifference(test, got);
    ASSERT_TRUE(d);
    EXPECT_EQ(std::vector({d->what, d->expected, d->got}), std::vector({c.what, c.wanted, c.had}));
  }
}

// Programs alike: the same image, or the same bytes wherever the tests ran an instruction.
TEST(Grader, ListsProgramsWithTheSameCode) {
  const Exercise exercise = addExercise();
  auto data = adder(op(BRANCH, 5));
  data[20] = 99;  // never run: data
  auto other = adder(op(BRANCH, 5));
  other[6] = op(BRANCH, 6);  // never run either, but a different byte
  const std::vector<Program> programs = {
      programFromText("a", programText(adder(op(BRANCH, 5))), true),
      programFromText("broken", "junk", false),
      programFromText("b", programText(adder(op(BRNNEG, 5))), true),
      programFromText("a again", programText(adder(op(BRANCH, 5))), true),
      programFromText("a with data", programText(data), true),
      programFromText("a with more", programText(other), true),
  };
  const auto groups = similarPrograms(gradePrograms(exercise, programs, 1));
  std::vector<std::pair<bool, std::vector<std::string>>> seen;
  for (const SimilarGroup& g : groups) {
    seen.push_back({g.identical, {}});
    for (const Program* p : g.programs) seen.back().second.push_back(p->name);
  }
  using Names = std::vector<std::string>;
  EXPECT_THAT(seen,
              ElementsAre(std::pair(true, Names{"a", "a again"}),
                          std::pair(false, Names{"a", "a again", "a with data", "a with more"})));
}

}  // namespace
}  // namespace volpar::exercise
