// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

#include "runner/run_options.h"

namespace volpar::runner {

// Exit statuses of volpar-run.
enum ExitStatus : int {
  kExitFinished = 0,  // the program halted, or an INPUT found no value left
  kExitFault = 1,     // the machine or its screens misbehaved (a message box, a stuck clock);
                      // in grading, a test failed or a program could not be loaded
  kExitUsage = 2,     // bad arguments, or a program file that cannot be loaded or saved
  kExitLimit = 3,     // the instruction limit was reached
};

// Runs one program file on the model and handlers the windows use, pressing the buttons
// a student would press. Writes OUTPUT, trace, dump and END lines to out and any problem
// as one line to err; returns the exit status.
// FILE "-" is read from in.
int runProgram(const RunOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace volpar::runner
