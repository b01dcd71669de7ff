// SPDX-License-Identifier: GPL-3.0-or-later
// volpar-run: runs a program file without windows, for checking and grading.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "exercise/headless_platform.h"
#include "i18n/languages.h"
#include "i18n/text.h"
#include "runner/grading.h"
#include "runner/headless_run.h"
#include "runner/run_options.h"

int main(int argc, char** argv) {
  using namespace volpar::runner;
  namespace i18n = volpar::i18n;
  // The help and the errors in the arguments follow the system's language; what a run or a
  // grading prints is read by scripts and graders' tools, and stays in English.
  i18n::setLanguage(i18n::systemLanguage([](const char* name) { return std::getenv(name); }));
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedArguments parsed = parseArguments(args);
  if (parsed.helpRequested) {
    std::cout << i18n::tr(kUsage);
    return kExitFinished;
  }
  if (parsed.versionRequested) {
    std::cout << volpar::versionText("volpar-run", volpar::exercise::HeadlessPlatform().version());
    return kExitFinished;
  }
  if (!parsed.options && !parsed.grading) {
    std::cerr << "volpar-run: "
              << i18n::fill(i18n::tr("%1 (see volpar-run --help)"), {parsed.error}) << "\n";
    return kExitUsage;
  }
  i18n::setLanguage("en");
  if (parsed.grading) {
    GradeOptions grading = *parsed.grading;
    grading.progress = isatty(STDERR_FILENO) == 1;
    return gradePrograms(grading, std::cin, std::cout, std::cerr);
  }
  return runProgram(*parsed.options, std::cin, std::cout, std::cerr);
}
