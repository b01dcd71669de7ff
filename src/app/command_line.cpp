// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <utility>

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
    "      --theme=THEME   draw the windows in THEME for this run: system (as the\n"
    "                      desktop prefers), light, dark or high-contrast\n"
    "      --colour-blind  draw the machine in colours that stay apart for every kind\n"
    "                      of colour blindness, for this run\n"
    "      --language=CODE speak the language CODE for this run: en, de, es, fr, pt_BR\n"
    "                      or zh_CN (View > Language chooses it too)\n"
    "  -h, --help          display this help and exit\n"
    "      --version       output version information and exit\n"
    "\n"
    "View > Theme chooses the theme too, and is remembered for the next runs.\n"
    "\n"
    "The options of the Qt toolkit, such as -platform or -style, are accepted too.\n"
    "Program files are text files; volpar-run(1) runs them without windows.\n";

namespace {

CommandLine asking(CommandLine::Action action) {
  CommandLine line;
  line.action = action;
  return line;
}

CommandLine refused(std::string error) {
  CommandLine line = asking(CommandLine::Action::Error);
  line.error = std::move(error);
  return line;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  bool themeNext = false;
  bool languageNext = false;
  for (const std::string& arg : args) {
    if (themeNext) {
      themeNext = false;
      line.theme = arg;
    } else if (languageNext) {
      languageNext = false;
      line.language = arg;
    } else if (!optionsEnded && arg == "--theme") {
      themeNext = true;
    } else if (!optionsEnded && arg.starts_with("--theme=")) {
      line.theme = arg.substr(8);
    } else if (!optionsEnded && arg == "--language") {
      languageNext = true;
    } else if (!optionsEnded && arg.starts_with("--language=")) {
      line.language = arg.substr(11);
    } else if (!optionsEnded && arg == "--colour-blind") {
      line.colourBlind = true;
    } else if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      return asking(CommandLine::Action::Help);
    } else if (!optionsEnded && arg == "--version") {
      return asking(CommandLine::Action::Version);
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      line = refused("unknown option " + ui::quoted(arg));
    } else if (line.action == CommandLine::Action::Run && !line.programFile.empty()) {
      line = refused("more than one program file given");
    } else if (line.action == CommandLine::Action::Run) {
      line.programFile = arg;
    }
  }
  if (themeNext && line.action == CommandLine::Action::Run) {
    line = refused("--theme needs a theme");
  }
  if (languageNext && line.action == CommandLine::Action::Run) {
    line = refused("--language needs a language");
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
