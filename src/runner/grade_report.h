// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <vector>

#include "exercise/grader.h"
#include "runner/run_options.h"

namespace volpar::runner {

// Writes the grades of every program in one of the report formats. Hidden tests are
// counted in every format and described in none.
void writeReport(ReportFormat format, const exercise::Exercise& exercise,
                 const std::vector<exercise::ProgramResult>& results, std::ostream& out);

}  // namespace volpar::runner
