// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <vector>

#include "exercise/grader.h"
#include "exercise/similarity.h"
#include "runner/run_options.h"

namespace volpar::runner {

// Writes the grades of every program in one of the report formats. A hidden test is
// reported by its name, weight and verdict in every format, and by nothing else; a
// program that could not be loaded fails every test. JSON also lists the similar programs.
void writeReport(ReportFormat format, const exercise::Exercise& exercise,
                 const std::vector<exercise::ProgramResult>& results,
                 const std::vector<exercise::SimilarGroup>& similar, std::ostream& out);

}  // namespace volpar::runner
