// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/exercise_file.h"
#include "storage/program_file_text.h"

namespace volpar::exercise {

// A program to grade, read once for all its tests.
struct Program {
  std::string name;                         // the file as the teacher named it
  std::optional<storage::ByteTexts> bytes;  // none: it cannot be loaded
  std::string error;                        // then why, in one line
  // What File > Open passes over in it (a short value, a missing key...): it still loads
  // as the windows load it unless strict reading refused it.
  std::vector<std::string> warnings;
};

// strict: a program that loads only by passing over something is refused.
Program programFromText(const std::string& name, std::string_view content, bool strict);
Program readProgram(const std::string& path, bool strict);

// What one run left behind.
struct TestRun {
  End end = End::Limit;
  std::vector<int> outputs;
  std::uint64_t instructions = 0;
  int pc = 0, ar = 0, ir = 0, x = 0, y = 0, s = 0;
  std::array<int, 32> memory{};
  std::string fault;  // the machine misbehaved: the run stopped there
  bool operator==(const TestRun&) const = default;
};

// The first expectation that did not hold: "Output", "End", "PC"..., "Memory30".
struct Difference {
  std::string what;
  std::string expected;
  std::string got;
};

struct TestResult {
  const Test* test = nullptr;
  TestRun got;
  std::optional<Difference> difference;  // none: passed
  bool passed() const { return !difference; }
};

struct ProgramResult {
  const Program* program = nullptr;
  std::vector<TestResult> tests;  // none when the program could not be loaded
  int score = 0;
  int maxScore = 0;
  bool passed() const { return program->bytes && score == maxScore && allPassed(); }
  bool allPassed() const;
};

// The machines one thread runs tests on: each test gets a machine as it stood new, the
// last one rewound where it can be, else one built anew.
class FreshMachines {
 public:
  HeadlessMachine& next();

 private:
  std::optional<HeadlessMachine> machine_;
};

// Runs the program on a fresh machine, as the windows would: its memory, the test's start
// address and inputs, the exercise's instruction limit.
TestRun runTest(const storage::ByteTexts& program, const Test& test, std::uint64_t maxInstructions);
TestRun runTest(FreshMachines& machines, const storage::ByteTexts& program, const Test& test,
                std::uint64_t maxInstructions);
std::optional<Difference> firstDifference(const Expected& expected, const TestRun& got);

ProgramResult gradeProgram(const Exercise& exercise, const Program& program);
ProgramResult gradeProgram(const Exercise& exercise, const Program& program,
                           FreshMachines& machines);
// Every program, each on threads of its own when jobs > 1; results in the programs' order.
std::vector<ProgramResult> gradePrograms(const Exercise& exercise,
                                         const std::vector<Program>& programs, int jobs);

// "5,7"; "none" for no value.
std::string valueListText(const std::vector<int>& values);

}  // namespace volpar::exercise
