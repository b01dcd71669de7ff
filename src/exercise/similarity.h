// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "exercise/grader.h"

namespace volpar::exercise {

// Programs of a class whose memory images are alike, for the teacher to look at: the
// same 32 bytes, or the same bytes at every address the tests ran an instruction from
// (they differ only in data).
struct SimilarGroup {
  bool identical = false;
  std::vector<const Program*> programs;  // two or more, in the order graded
};

// Identical groups first, then groups alike but for data that are not one identical
// group already. Programs that could not be loaded are left out.
std::vector<SimilarGroup> similarPrograms(const std::vector<ProgramResult>& results);

}  // namespace volpar::exercise
