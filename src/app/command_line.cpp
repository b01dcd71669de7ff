// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <utility>

#include "i18n/languages.h"
#include "i18n/text.h"
#include "ui/quoted.h"

namespace volpar {

// TRANSLATORS: the option names (--theme, --language...) and the words in capitals that
// stand for an argument (THEME, CODE, FILE) are typed as they are: keep them in English.
const char* const kProgramUsage = i18n::mark(
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
    "      --language=CODE show the windows in this language for this run: en, de, es,\n"
    "                      fr, pt_BR or zh_CN (the system's language otherwise)\n"
    "  -h, --help          display this help and exit\n"
    "      --version       output version information and exit\n"
    "\n"
    "View > Theme chooses the theme too, and is remembered for the next runs.\n"
    "\n"
    "The options of the Qt toolkit, such as -platform or -style, are accepted too.\n"
    "Program files are text files; volpar-run(1) runs them without windows.\n");

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

bool knownLanguage(std::string_view code) {
  if (code == i18n::kPseudo) return true;
  for (const i18n::Language& l : i18n::languages())
    if (l.code == code) return true;
  return false;
}

std::string languageCodes() {
  std::string codes;
  for (const i18n::Language& l : i18n::languages())
    codes += (codes.empty() ? "" : ", ") + std::string(l.code);
  return codes;
}

// The values that follow their option, checked once every argument is read.
// missing: the marked error of an option given last, without its value, or null.
CommandLine checked(CommandLine line, const char* missing) {
  if (line.action != CommandLine::Action::Run) return line;
  if (missing) return refused(std::string(i18n::tr(missing)));
  if (!line.language.empty() && !knownLanguage(line.language)) {
    return refused(i18n::fill(i18n::tr("unknown language %1: the languages are %2"),
                              {ui::quoted(line.language), languageCodes()}));
  }
  return line;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  std::string* valueNext = nullptr;
  for (const std::string& arg : args) {
    if (valueNext) {
      *valueNext = arg;
      valueNext = nullptr;
    } else if (!optionsEnded && (arg == "--theme" || arg == "--language")) {
      valueNext = arg == "--theme" ? &line.theme : &line.language;
    } else if (!optionsEnded && arg.starts_with("--theme=")) {
      line.theme = arg.substr(8);
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
      line = refused(i18n::fill(i18n::tr("unknown option %1"), {ui::quoted(arg)}));
    } else if (line.action == CommandLine::Action::Run && !line.programFile.empty()) {
      line = refused(std::string(i18n::tr("more than one program file given")));
    } else if (line.action == CommandLine::Action::Run) {
      line.programFile = arg;
    }
  }
  const char* missing = !valueNext                 ? nullptr
                        : valueNext == &line.theme ? i18n::mark("--theme needs a theme")
                                                   : i18n::mark("--language needs a language code");
  return checked(std::move(line), missing);
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
