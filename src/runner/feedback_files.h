// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exercise/grader.h"

namespace volpar::runner {

// Writes one plain-text file per program into folder (made if missing), named after the
// program file: "alice.txt" gets "alice.txt.feedback.txt", a second "alice.txt" from another
// folder "alice.txt.2.feedback.txt", standard input "standard-input.feedback.txt". Each
// holds what the student may read (exercise::feedbackText). Returns why it failed.
std::optional<std::string> writeFeedbackFiles(const std::string& folder,
                                              const exercise::Exercise& exercise,
                                              const std::vector<exercise::ProgramResult>& results);

}  // namespace volpar::runner
