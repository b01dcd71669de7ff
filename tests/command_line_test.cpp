// SPDX-License-Identifier: GPL-3.0-or-later
// The windowed program's command line: what each set of arguments asks for.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace volpar {
namespace {

TEST(CommandLine, ArgumentsAskForTheRightAction) {
  using A = CommandLine::Action;
  const struct {
    std::vector<std::string> args;
    A action;
    std::string fileOrError;
  } cases[] = {
      {{}, A::Run, ""},
      {{"prog.txt"}, A::Run, "prog.txt"},
      {{"--", "-odd.txt"}, A::Run, "-odd.txt"},
      {{"-"}, A::Run, "-"},
      {{"prog.txt", "--help"}, A::Help, ""},
      {{"-h"}, A::Help, ""},
      {{"--bogus", "--version"}, A::Version, ""},
      {{"--", "--version"}, A::Run, "--version"},
      {{"--bo\ngus\x1b[0m"}, A::Error, "unknown option \"--bo\\ngus\\x1b[0m\""},
      {{"a.txt", "b.txt"}, A::Error, "more than one program file given"},
  };
  for (const auto& c : cases) {
    const CommandLine line = parseCommandLine(c.args);
    const std::string& got = line.action == A::Error ? line.error : line.programFile;
    EXPECT_EQ(line.action, c.action) << testing::PrintToString(c.args);
    EXPECT_EQ(got, c.fileOrError) << testing::PrintToString(c.args);
  }
}

// A lab's kiosk names the theme; the caller checks the name against the themes it has.
TEST(CommandLine, ThemeAndColourBlindOptions) {
  const struct {
    std::vector<std::string> args;
    std::string theme, error;
    bool colourBlind;
  } cases[] = {
      {{"--theme", "dark", "p.txt"}, "dark", "", false},
      {{"--theme=high-contrast", "--colour-blind"}, "high-contrast", "", true},
      {{"--colour-blind", "--", "--theme"}, "", "", true},
      {{"--theme"}, "", "--theme needs a theme", false},
      {{"--themes=dark"}, "", "unknown option \"--themes=dark\"", false},
  };
  for (const auto& c : cases) {
    const CommandLine line = parseCommandLine(c.args);
    EXPECT_EQ(line.error, c.error) << testing::PrintToString(c.args);
    if (!c.error.empty()) continue;
    EXPECT_EQ(line.theme, c.theme) << testing::PrintToString(c.args);
    EXPECT_EQ(line.colourBlind, c.colourBlind) << testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace volpar
