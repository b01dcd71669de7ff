// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

namespace fs = std::filesystem;

// Failures of the program file itself are tested with the program-file procedures.
class Menus : public ScreensFixture {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("volpar-menus-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  const std::string d = dir.string();
  Menus() { fs::remove_all(dir), fs::create_directories(dir / "sub"); }
  ~Menus() override { fs::remove_all(dir); }
  std::string file(const char* name) { return (dir / name).string(); }

  // Every dialog shown, "save <folder> '<name offered>'; ": each one for text files, an
  // existing folder, and a save asks before it overwrites.
  std::string dialogs() {
    std::string out;
    for (const FakePlatform::DialogCall& c : platform.dialogs) {
      EXPECT_EQ(c.filter + " " + c.defaultExt, "Text file (*.txt)|*.txt .txt");
      EXPECT_TRUE(c.pathMustExist && c.overwritePrompt == c.save);
      out += (c.save ? "save " : "open ") + c.initDir + " '" + c.fileNameBefore + "'; ";
    }
    return out;
  }
};

// The program's folder may not be written: the first dialog starts in the documents; once it
// may, there. A cancelled dialog loads and saves nothing; a failed load is reported and
// changes neither memory nor the folder; after a save or a load the dialogs start where that
// file is, on new screens too, and Open changes only the memory grid.
TEST_F(Menus, SaveOpenHelpAndCodeInformation) {
  poke(0, "001 00101"), poke(31, "10000001");
  click(input().Open_menu);  // the empty answer queues cancel
  platform.exeDir = d;
  platform.openAnswers.push_back(file("sub/missing.txt"));
  click(input().Open_menu);  // fails: reported, and what a later save writes is unchanged
  const std::string prog = file("sub/prog.txt");
  platform.saveAnswers.push_back(prog), click(input().save_menu);
  const std::string saved = readFile(prog);

  click(input().Command_Restart), click(input().save_menu);
  EXPECT_EQ(readFile(prog), saved);
  typeBits("11100011"), click(input().Command_Execute_Program);
  fs::copy_file(prog, file("copy.txt")), platform.openAnswers.push_back(file("copy.txt"));
  click(input().Open_menu), click(input().Open_menu);
  EXPECT_EQ(dialogs(), "open /home/student/Documents ''; open " + d + " ''; save " + d + " '" +
                           file("sub/missing.txt") + "'; save " + d + "/sub ''; open " + d +
                           "/sub ''; open " + d + " '" + file("copy.txt") + "'; ");
  EXPECT_EQ(memoryBits(0), "00100101");
  EXPECT_EQ(memoryBits(31), "10000001");
  EXPECT_EQ(manual().Program_File_Name, file("copy.txt"));
  EXPECT_EQ(entryBits(), "11100011");
  EXPECT_TRUE(input().EXEC_FRAME.visible());
  ASSERT_EQ(platform.messages.size(), 1U) << "only the failed load is reported";
  EXPECT_EQ(platform.messages[0].title, "VOLPAR -- PROGRAM FILE");

  // Help > Contents opens topic 1 of the help file; Code information opens the panel
  // describing every op code, and Close shuts it (tests/data/menus/code_information.txt).
  click(input().cont_menu);
  EXPECT_EQ(platform.helpShown, (std::vector<std::pair<std::string, int>>{{"Vuvuva.zev", 1}}));
  EXPECT_EQ(input().cont_menu.Shortcut(), "F1");

  play("menus/code_information.txt");
}

// File > Open reads program text too: the grid as the text says, a black cell too, and Save
// asks for a program file's name; a text with problems is refused with all of them listed
// and memory as it was.
TEST_F(Menus, ProgramTextFillsTheGridOrListsItsProblems) {
  std::ofstream(file("good.vpt"), std::ios::binary)
      << "; two bytes and a black cell\r\n  LOAD v\r\n  BR Neg 0\r\n  ORG 9\r\nv: DATA "
         "0b1x000001\r\n";
  std::ofstream(file("bad.vpt")) << "LAOD 5\nDATA 256\n";
  platform.openAnswers = {file("good.vpt"), file("bad.vpt")};
  platform.saveAnswers = {std::nullopt};
  click(input().Open_menu);
  EXPECT_EQ(memoryBits(0) + " " + memoryBits(1) + " " + memoryBits(9),
            "00101001 11000000 1x000001");
  click(input().save_menu);
  ASSERT_EQ(platform.dialogs.size(), 2U);
  EXPECT_EQ(platform.dialogs[1].fileNameBefore, "");
  click(input().Open_menu);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "The program text \"" + file("bad.vpt") +
                "\" could not be loaded.\n"
                "line 1, column 1: \"LAOD\" is not an instruction; did you mean LOAD?\n"
                "line 2, column 6: DATA 256 is not a byte: write 0 to 255, -128 to -1, or 0b and "
                "eight of 0, 1 and x\n"
                "The memory was not changed.");
  EXPECT_EQ(memoryBits(0), "00101001");
}

}  // namespace
}  // namespace volpar::testing
