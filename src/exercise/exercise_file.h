// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/headless_machine.h"
#include "storage/program_file_text.h"

namespace volpar::exercise {

// What a program must leave behind after one test's run; what is not written is not
// checked, except the end, which is halt when not written.
struct Expected {
  std::optional<std::vector<int>> output;  // every OUTPUT value, in order
  End end = End::Halt;
  std::array<std::optional<int>, 32> memory;
  std::optional<int> pc, ar, ir, x, y, s;
};

inline constexpr std::uint64_t kDefaultMaxInstructions = 10000;

struct Test {
  std::string name;        // the section's name, as written: "Test 2"
  std::vector<int> input;  // values for the INPUT instructions, in order
  Expected expected;
  // Bytes put into memory over the program's before the run (Preset<N>): data that
  // comes other than by INPUT.
  std::array<std::optional<int>, 32> preset;
  // These three and the expected end may be set for every test in [Exercise]; a test's
  // own key wins.
  int start = 0;
  std::uint64_t maxInstructions = kDefaultMaxInstructions;
  bool unusedInputAllowed = false;  // else a value left unread fails the test
  int weight = 1;
  bool hidden = false;  // counted in the score, never described to the student
};

// What a program must do: a title, the task in words, and tests.
struct Exercise {
  std::string title;
  std::string text;                                         // lines joined with "\n"
  std::uint64_t maxInstructions = kDefaultMaxInstructions;  // for tests that set none
  std::vector<Test> tests;
};

struct ExerciseRead {
  std::optional<Exercise> exercise;
  std::string problem;  // otherwise why not, naming the file, the section and the key
};

// An exercise file: the program files' text format, a section [Exercise] (Title, Text,
// which may be written on several lines, and defaults for the tests) and one section
// [Test ...] per test. A section or key it does not know, a value out of range or a test
// that checks nothing is refused. fileName names the file in messages.
ExerciseRead parseExercise(std::string_view content, const std::string& fileName);
// Reads no more than an exercise file may hold: as much as a program file.
ExerciseRead readExercise(const std::string& path);
inline constexpr std::size_t kMaxExerciseFileBytes = storage::kMaxProgramFileBytes;
// "The exercise file "add.ini" cannot be used: why", as every refusal says it.
std::string refusalMessage(const std::string& fileName, std::string_view why);

}  // namespace volpar::exercise
