// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

#include "runner/run_options.h"

namespace volpar::runner {

// Grades every program against the exercise and writes the report to out, warnings and
// problems to err. "-" among the programs is read from in. Returns the exit status: 0
// when every test of every program passed, 1 when one failed or a program could not be
// loaded, 2 when the exercise cannot be read.
int gradePrograms(const GradeOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err);

// The text of a program file on standard input, cut after the largest size a program
// file may have so that the reader can refuse it.
std::string readProgramText(std::istream& in);

}  // namespace volpar::runner
