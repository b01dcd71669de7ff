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

struct Test {
  std::string name;        // the section's name, as written: "Test 2"
  std::vector<int> input;  // values for the INPUT instructions, in order
  Expected expected;
  int start = 0;
  int weight = 1;
  bool hidden = false;  // counted in the score, never described to the student
};

inline constexpr std::uint64_t kDefaultMaxInstructions = 10000;

// What a program must do: a title, the task in words, and tests.
struct Exercise {
  std::string title;
  std::string text;
  std::uint64_t maxInstructions = kDefaultMaxInstructions;  // per test
  std::vector<Test> tests;
};

struct ExerciseRead {
  std::optional<Exercise> exercise;
  std::string problem;  // otherwise why not, naming the file, the section and the key
};

// An exercise file: the program files' text format, a section [Exercise] (Title, Text,
// MaxInstructions) and one section [Test ...] per test. A section or key it does not
// know, a value out of range or a test that checks nothing is refused. fileName names
// the file in messages.
ExerciseRead parseExercise(std::string_view content, const std::string& fileName);
// Reads no more than an exercise file may hold: as much as a program file.
ExerciseRead readExercise(const std::string& path);
inline constexpr std::size_t kMaxExerciseFileBytes = storage::kMaxProgramFileBytes;
// "The exercise file "add.ini" cannot be used: why", as every refusal says it.
std::string refusalMessage(const std::string& fileName, std::string_view why);

}  // namespace volpar::exercise
