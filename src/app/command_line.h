// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ui/platform.h"

namespace volpar {

// What the command line of the windowed program asks for.
struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  std::string programFile;   // Run: the program file to open at start, if any
  std::string error;         // Error: one line naming the problem
  std::string theme;         // --theme: the theme named for this run, checked by the caller
  bool colourBlind = false;  // --colour-blind: the colour-blind-safe colours for this run
  std::string language;      // --language: a listed language's code, empty when not given
};

// Reads the arguments that follow the program name (the toolkit's own options removed).
CommandLine parseCommandLine(const std::vector<std::string>& args);

// What --version prints: "volpar 1.0.4" (the version the welcome screen shows), then the
// copyright and the licence.
std::string versionText(const std::string& program, const ui::Version& version);

extern const char* const kProgramUsage;

}  // namespace volpar
