// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/grading.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "exercise/grader.h"
#include "runner/grade_report.h"
#include "runner/headless_run.h"
#include "runner/text_escapes.h"

namespace volpar::runner {
namespace {

constexpr const char* kStandardInput = "-";

std::vector<exercise::Program> readPrograms(const GradeOptions& options, std::istream& in) {
  std::vector<exercise::Program> programs;
  for (const std::string& file : options.programFiles) {
    programs.push_back(file == kStandardInput
                           ? exercise::programFromText(file, readProgramText(in), options.strict)
                           : exercise::readProgram(file, options.strict));
  }
  return programs;
}

}  // namespace

std::string readProgramText(std::istream& in) {
  std::string text;
  char buffer[4096];
  while (text.size() <= storage::kMaxProgramFileBytes && in.read(buffer, sizeof buffer)) {
    text.append(buffer, sizeof buffer);
  }
  text.append(buffer, static_cast<std::size_t>(in.gcount()));
  if (text.size() > storage::kMaxProgramFileBytes + 1)
    text.resize(storage::kMaxProgramFileBytes + 1);
  return text;
}

int gradePrograms(const GradeOptions& options, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  const exercise::ExerciseRead read = exercise::readExercise(options.exerciseFile);
  if (!read.exercise) {
    err << "volpar-run: " << oneLine(read.problem) << '\n';
    return kExitUsage;
  }
  const std::vector<exercise::Program> programs = readPrograms(options, in);
  // JSON carries them in the report itself.
  if (options.format != ReportFormat::Json) {
    for (const exercise::Program& p : programs) {
      for (const std::string& warning : p.warnings)
        err << "volpar-run: warning: " << oneLine(p.name) << ": " << oneLine(warning) << '\n';
    }
  }
  const auto results = exercise::gradePrograms(*read.exercise, programs, options.jobs);
  writeReport(options.format, *read.exercise, results, out);
  out.flush();
  for (const auto& r : results) {
    if (!r.passed()) return kExitFault;
  }
  return kExitFinished;
}

}  // namespace volpar::runner
