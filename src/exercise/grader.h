// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
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
  std::vector<std::string> problems;  // program text that cannot be read: each problem
};

// strict: a program that loads only by passing over something is refused.
// programFromText is the one place where a submission's text becomes memory bytes: the
// grading and the plain runs of volpar-run load through it.
Program programFromText(const std::string& name, std::string_view content, bool strict);
Program readProgram(const std::string& path, bool strict);

// What one run left behind.
struct TestRun {
  End end = End::Limit;
  std::vector<int> outputs;
  std::uint64_t instructions = 0;
  std::size_t inputsRead = 0;
  std::uint32_t fetchedFrom = 0;  // bit N: an instruction was fetched from address N
  int pc = 0, ar = 0, ir = 0, x = 0, y = 0, s = 0;
  std::array<int, 32> memory{};
  std::string fault;  // the machine misbehaved: the run stopped there
  bool operator==(const TestRun&) const = default;
};

// The first expectation that did not hold: "Output value 3", "End", "Inputs read", "PC"...,
// "Memory30", each with the value expected and the value got ("none": no such value).
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

// Runs the program on a fresh machine, as the windows would: its memory with the test's
// presets over it, the test's start address, inputs and instruction limit.
TestRun runTest(const storage::ByteTexts& program, const Test& test);
TestRun runTest(FreshMachines& machines, const storage::ByteTexts& program, const Test& test);
std::optional<Difference> firstDifference(const Test& test, const TestRun& got);

ProgramResult gradeProgram(const Exercise& exercise, const Program& program);
ProgramResult gradeProgram(const Exercise& exercise, const Program& program,
                           FreshMachines& machines);
// Every program, each on threads of its own when jobs > 1; results in the programs' order.
// done, when given, is called after each program with how many are done, from any thread
// but never from two at once.
std::vector<ProgramResult> gradePrograms(const Exercise& exercise,
                                         const std::vector<Program>& programs, int jobs,
                                         const std::function<void(std::size_t)>& done = {});

// "5,7"; "none" for no value.
std::string valueListText(const std::vector<int>& values);
// As valueListText, the values after the first kShownValues left out and counted:
// "1,1,...,1, ... (5000 values)". What a run gives is reported so, however long it ran.
inline constexpr std::size_t kShownValues = 16;
std::string shortListText(const std::vector<int>& values);

}  // namespace volpar::exercise
