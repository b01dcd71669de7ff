// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/grading.h"

#include <chrono>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "exercise/exercise_file.h"
#include "exercise/make_expected.h"
#include "exercise/similarity.h"
#include "runner/feedback_files.h"
#include "runner/grade_report.h"
#include "runner/headless_run.h"
#include "runner/text_escapes.h"
#include "storage/file_io.h"

namespace volpar::runner {
namespace {

constexpr const char* kStandardInput = "-";

std::vector<exercise::Program> readPrograms(const GradeOptions& options, std::istream& in) {
  std::vector<exercise::Program> programs;
  for (const std::string& file : options.programFiles)
    programs.push_back(loadProgram(file, in, options.strict));
  return programs;
}

// "graded 12 of 30 programs" on one line of a terminal, redrawn, once grading has taken a
// second: a short class shows nothing.
class Progress {
 public:
  Progress(std::ostream& err, bool shown, std::size_t total)
      : err_(err), shown_(shown), total_(total) {}
  ~Progress() {
    if (drawn_) err_ << '\n' << std::flush;
  }
  void done(std::size_t count) {
    const auto now = Clock::now();
    if (!shown_ || now - started_ < std::chrono::seconds(1)) return;
    if (count != total_ && drawn_ && now - drawnAt_ < std::chrono::milliseconds(100)) return;
    err_ << "\rvolpar-run: graded " << count << " of " << total_ << " programs" << std::flush;
    drawn_ = true;
    drawnAt_ = now;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  bool shown_;
  std::size_t total_;
  Clock::time_point started_ = Clock::now(), drawnAt_;
  bool drawn_ = false;
};

void writeSimilarity(const std::vector<exercise::SimilarGroup>& groups, std::ostream& err) {
  for (const exercise::SimilarGroup& group : groups) {
    err << "volpar-run: note: "
        << (group.identical ? "identical programs: " : "programs identical but for data bytes: ");
    for (std::size_t i = 0; i < group.programs.size(); ++i)
      err << (i ? ", " : "") << oneLine(group.programs[i]->name);
    err << '\n';
  }
}

int makeExpected(const GradeOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err) {
  const storage::FileContents file =
      storage::readWholeFile(options.exerciseFile, exercise::kMaxExerciseFileBytes);
  if (file.status != storage::FileContents::Status::Read) {
    err << "volpar-run: " << oneLine(exercise::refusalMessage(options.exerciseFile, file.problem))
        << '\n';
    return kExitUsage;
  }
  const exercise::Program solution = loadProgram(*options.makeExpected, in, options.strict);
  writeWarnings(solution, err);
  const auto made = exercise::expectedFromSolution(file.bytes, options.exerciseFile, solution);
  if (!made.text) {
    err << "volpar-run: " << oneLine(made.problem) << '\n';
    return kExitUsage;
  }
  out << *made.text << std::flush;
  for (const std::string& note : made.notes) err << "volpar-run: note: " << oneLine(note) << '\n';
  return kExitFinished;
}

}  // namespace

exercise::Program loadProgram(const std::string& file, std::istream& in, bool strict) {
  if (file == kStandardInput) return exercise::programFromText(file, readProgramText(in), strict);
  return exercise::readProgram(file, strict);
}

void writeWarnings(const exercise::Program& program, std::ostream& err) {
  for (const std::string& warning : program.warnings)
    err << "volpar-run: warning: " << oneLine(program.name) << ": " << oneLine(warning) << '\n';
}

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
  if (options.makeExpected) return makeExpected(options, in, out, err);
  const exercise::ExerciseRead read = exercise::readExercise(options.exerciseFile);
  if (!read.exercise) {
    err << "volpar-run: " << oneLine(read.problem) << '\n';
    return kExitUsage;
  }
  std::vector<exercise::ProgramResult> results;
  std::vector<exercise::Program> programs;
  {
    // Reading the programs is part of the class's time.
    Progress progress(err, options.progress, options.programFiles.size());
    programs = readPrograms(options, in);
    results = exercise::gradePrograms(*read.exercise, programs, options.jobs,
                                      [&](std::size_t done) { progress.done(done); });
  }
  // JSON carries them in the report itself.
  if (options.format != ReportFormat::Json) {
    for (const exercise::Program& p : programs) writeWarnings(p, err);
  }
  const auto similar = exercise::similarPrograms(results);
  writeReport(options.format, *read.exercise, results, similar, out);
  out.flush();
  writeSimilarity(similar, err);
  if (options.feedbackDir) {
    if (auto problem = writeFeedbackFiles(*options.feedbackDir, *read.exercise, results)) {
      err << "volpar-run: " << oneLine(*problem) << '\n';
      return kExitUsage;
    }
  }
  for (const auto& r : results) {
    if (!r.passed()) return kExitFault;
  }
  return kExitFinished;
}

}  // namespace volpar::runner
