// SPDX-License-Identifier: GPL-3.0-or-later
// volpar-run: runs a program file without windows, for checking and grading.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "exercise/headless_platform.h"
#include "runner/grading.h"
#include "runner/headless_run.h"
#include "runner/run_options.h"

int main(int argc, char** argv) {
  using namespace volpar::runner;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedArguments parsed = parseArguments(args);
  if (parsed.helpRequested) {
    std::cout << kUsage;
    return kExitFinished;
  }
  if (parsed.versionRequested) {
    std::cout << volpar::versionText("volpar-run", volpar::exercise::HeadlessPlatform().version());
    return kExitFinished;
  }
  if (!parsed.options && !parsed.grading) {
    std::cerr << "volpar-run: " << parsed.error << " (see volpar-run --help)\n";
    return kExitUsage;
  }
  if (parsed.grading) {
    GradeOptions grading = *parsed.grading;
    grading.progress = isatty(STDERR_FILENO) == 1;
    return gradePrograms(grading, std::cin, std::cout, std::cerr);
  }
  return runProgram(*parsed.options, std::cin, std::cout, std::cerr);
}
