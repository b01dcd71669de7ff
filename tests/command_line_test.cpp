// SPDX-License-Identifier: GPL-3.0-or-later
// The windowed program's command line: what each set of arguments asks for, the cases in
// tests/data/command_line.txt.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/data_table.h"

namespace volpar {
namespace {

TEST(CommandLine, ArgumentsAskForTheRightActionThemeAndColours) {
  const char* const actions[] = {"run", "help", "version", "error"};
  for (const testing::Row& c : testing::readTable("command_line.txt")) {
    std::vector<std::string> args;
    std::istringstream words(c[0]);
    for (std::string word; words >> word;) args.push_back(testing::unescape(word));
    const CommandLine line = parseCommandLine(args);
    const bool error = line.action == CommandLine::Action::Error;
    EXPECT_EQ(std::string(actions[static_cast<int>(line.action)]) + " " +
                  (error ? line.error : line.programFile) + " " + line.theme + " " +
                  (line.colourBlind ? "1" : "0"),
              c[1] + " " + testing::unescape(c[2]) + " " + c[3] + " " + c[4])
        << c[0];
  }
}

}  // namespace
}  // namespace volpar
