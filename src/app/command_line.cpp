// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "ui/quoted.h"

namespace volpar {

const char* const kProgramUsage =
    "Usage: volpar [OPTION]... [FILE]\n"
    "Simulates a very small stored-program computer and shows, clock phase by clock phase,\n"
    "how it fetches, decodes and executes each instruction.\n"
    "\n"
    "With FILE, the program file is loaded into memory at start, as File > Open would\n"
    "load it; the input screen shows it once the welcome screen is dismissed. A file that\n"
    "cannot be loaded is reported as File > Open reports it, and memory stays empty.\n"
    "\n"
    "  -h, --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "The options of the Qt toolkit, such as -platform or -style, are accepted too.\n"
    "Program files are text files; volpar-run(1) runs them without windows.\n";

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      return {CommandLine::Action::Help, {}, {}};
    } else if (!optionsEnded && arg == "--version") {
      return {CommandLine::Action::Version, {}, {}};
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      line = {CommandLine::Action::Error, {}, "unknown option " + ui::quoted(arg)};
    } else if (line.action == CommandLine::Action::Run && !line.programFile.empty()) {
      line = {CommandLine::Action::Error, {}, "more than one program file given"};
    } else if (line.action == CommandLine::Action::Run) {
      line.programFile = arg;
    }
  }
  return line;
}

std::string versionText(const std::string& program, const ui::Version& version) {
  return program + " " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.revision) +
         "\n"
         "Copyright (C) 2026 The VOLPAR developers.\n"
         "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace volpar
