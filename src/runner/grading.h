// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

#include "exercise/grader.h"
#include "runner/run_options.h"

namespace volpar::runner {

// Grades every program against the exercise and writes the report to out, warnings and
// problems to err. "-" among the programs is read from in. Returns the exit status: 0
// when every test of every program passed, 1 when one failed or a program could not be
// loaded, 2 when the exercise cannot be read.
int gradePrograms(const GradeOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err);

// A program file, or standard input for "-", read for a run or for grading: the one
// place where volpar-run loads a submission.
exercise::Program loadProgram(const std::string& file, std::istream& in, bool strict);

// Writes what loading passed over, one "warning:" line each.
void writeWarnings(const exercise::Program& program, std::ostream& err);

// The text of a program file on standard input, cut after the largest size a program
// file may have so that the reader can refuse it.
std::string readProgramText(std::istream& in);

}  // namespace volpar::runner
