// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/grader.h"

namespace volpar::exercise {

struct ExpectedFromSolution {
  std::optional<std::string> text;  // the exercise with every test's Output and End set
  std::string problem;              // otherwise why not
  // Tests the teacher should look at: the solution did not halt, or fails an
  // expectation it did not write.
  std::vector<std::string> notes;
};

// Runs the solution on every test of the exercise and writes what it output and how it
// ended into each test's Output and End, keeping every other line (comments too) as it
// stands. fileName names the exercise in messages.
ExpectedFromSolution expectedFromSolution(std::string_view exerciseText,
                                          const std::string& fileName, const Program& solution);

}  // namespace volpar::exercise
