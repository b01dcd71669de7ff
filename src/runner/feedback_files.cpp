// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/feedback_files.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "exercise/check.h"
#include "storage/file_io.h"
#include "ui/quoted.h"

namespace volpar::runner {
namespace {

// The file's own name, without its folders; a name no other program of the class has.
std::string feedbackName(const std::string& program, std::set<std::string>& taken) {
  std::string base = program == "-" ? "standard-input" : program;
  while (!base.empty() && base.back() == '/') base.pop_back();
  base = base.substr(base.find_last_of('/') + 1);
  if (base.empty() || base == "." || base == "..") base = "program";
  std::string name = base + ".feedback.txt";
  for (int n = 2; !taken.insert(name).second; ++n)
    name = base + "." + std::to_string(n) + ".feedback.txt";
  return name;
}

}  // namespace

std::optional<std::string> writeFeedbackFiles(const std::string& folder,
                                              const exercise::Exercise& exercise,
                                              const std::vector<exercise::ProgramResult>& results) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder)) {
    return "The feedback folder " + ui::quoted(folder) + " could not be made" +
           (error ? ": " + error.message() : "");
  }
  std::set<std::string> taken;
  for (const exercise::ProgramResult& result : results) {
    const std::string path = folder + "/" + feedbackName(result.program->name, taken);
    if (auto problem = storage::replaceFile(path, exercise::feedbackText(exercise, result)))
      return problem->reason;
  }
  return std::nullopt;
}

}  // namespace volpar::runner
