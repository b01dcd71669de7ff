// SPDX-License-Identifier: GPL-3.0-or-later
// File > Open reads program text too: the grid as the text says, or, for a text with
// problems, a message listing them all and memory as it was.
#include <filesystem>
#include <fstream>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class OpenText : public ScreensFixture {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  void open(const std::string& path) {
    platform.openAnswers.push_back(path);
    click(input().Open_menu);
  }
};

TEST_F(OpenText, ProgramTextFillsTheGridAndSaveAsksForAProgramFilesName) {
  welcome().onKeyPress(' ');
  open(write("volpar-open-text.vpt",
             "; two bytes and a black cell\r\n  LOAD v\r\n  BR Neg 0\r\n  ORG 9\r\nv: DATA "
             "0b1x000001\r\n"));
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(memoryBits(0), "00101001");
  EXPECT_EQ(memoryBits(1), "11000000");
  EXPECT_EQ(memoryBits(9), "1x000001");
  platform.saveAnswers.push_back(std::nullopt);
  click(input().save_menu);
  ASSERT_FALSE(platform.dialogs.empty());
  EXPECT_EQ(platform.dialogs.back().fileNameBefore, "");
}

TEST_F(OpenText, ATextWithProblemsListsThemAllAndChangesNothing) {
  welcome().onKeyPress(' ');
  pokeFrom(0, {"00100101"});
  open(write("volpar-open-bad.vpt", "LAOD 5\nDATA 256\n"));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "The program text \"" +
                (std::filesystem::temp_directory_path() / "volpar-open-bad.vpt").string() +
                "\" could not be loaded.\n"
                "line 1, column 1: \"LAOD\" is not an instruction; did you mean LOAD?\n"
                "line 2, column 6: DATA 256 is not a byte: write 0 to 255, -128 to -1, or 0b and "
                "eight of 0, 1 and x\n"
                "The memory was not changed.");
  EXPECT_EQ(memoryBits(0), "00100101");
}

}  // namespace
}  // namespace volpar::testing
