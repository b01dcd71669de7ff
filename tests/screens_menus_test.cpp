#include <gtest/gtest.h>

#include <filesystem>
#include <map>
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
  Menus() {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~Menus() override { fs::remove_all(dir); }
  std::string file(const char* name) { return (dir / name).string(); }

  void expectDialog(std::size_t n, bool save, const std::string& nameBefore,
                    const std::string& folder) {
    ASSERT_EQ(platform.dialogs.size(), n + 1);
    const FakePlatform::DialogCall& d = platform.dialogs[n];
    EXPECT_EQ(d.save, save);
    EXPECT_EQ(d.filter, "Text file (*.txt)|*.txt");
    EXPECT_EQ(d.defaultExt, ".txt");
    EXPECT_TRUE(d.pathMustExist);
    EXPECT_EQ(d.overwritePrompt, save);
    EXPECT_EQ(d.initDir, folder);
    EXPECT_EQ(d.fileNameBefore, nameBefore) << "the dialog offers the name last chosen";
  }
};

TEST_F(Menus, SaveAndOpenGoThroughTheDialogToTheProgramFile) {
  poke(0, "001 00101");
  poke(31, "10000001");
  platform.saveAnswers.push_back(file("prog.txt"));
  click(input().save_menu);
  // The program's folder may not be written: the first dialog starts in the documents.
  expectDialog(0, true, "", "/home/student/Documents");
  EXPECT_TRUE(fs::exists(file("prog.txt")));

  click(input().Command_Restart);
  typeBits("11100011");  // Open changes only the memory grid
  click(input().Command_Execute_Program);
  platform.openAnswers.push_back(file("prog.txt"));
  click(input().Open_menu);
  expectDialog(1, false, "", dir.string());  // the new screen's, where the save was
  EXPECT_EQ(memoryBits(0), "00100101");
  EXPECT_EQ(memoryBits(31), "10000001");
  EXPECT_EQ(manual().Program_File_Name, file("prog.txt"));
  EXPECT_EQ(entryBits(), "11100011");
  EXPECT_TRUE(input().EXEC_FRAME.visible());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Menus, ACancelledDialogLoadsAndSavesNothingButAFileThatCannotBeLoadedIsReported) {
  platform.saveAnswers.push_back(file("kept.txt"));
  click(input().save_menu);
  const std::string saved = readFile(file("kept.txt"));
  poke(3, "11110000");
  click(input().Open_menu);  // the empty answer queue cancels
  expectDialog(1, false, file("kept.txt"), dir.string());
  click(input().save_menu);
  expectDialog(2, true, file("kept.txt"), dir.string());
  EXPECT_EQ(memoryBits(3), "11110000");
  EXPECT_EQ(readFile(file("kept.txt")), saved);
  EXPECT_TRUE(platform.messages.empty());

  platform.openAnswers.push_back(file("missing.txt"));
  click(input().Open_menu);
  ASSERT_EQ(platform.messages.size(), 1U);
  EXPECT_EQ(platform.messages[0].title, "VOLPAR -- PROGRAM FILE");
  EXPECT_EQ(memoryBits(3), "11110000");
}

TEST_F(Menus, DialogsStartInTheProgramsFolderWhenItMayBeWrittenThenWhereTheLastFileWas) {
  platform.exeDir = dir.string();
  fs::create_directories(dir / "sub");
  platform.openAnswers.push_back(file("missing.txt"));
  click(input().Open_menu);
  platform.saveAnswers.push_back((dir / "sub" / "p.txt").string());
  click(input().save_menu);
  click(input().Open_menu);
  ASSERT_EQ(platform.dialogs.size(), 3U);
  EXPECT_EQ(platform.dialogs[0].initDir, dir.string());
  EXPECT_EQ(platform.dialogs[1].initDir, dir.string()) << "a failed load leaves it";
  EXPECT_EQ(platform.dialogs[2].initDir, (dir / "sub").string());
}

TEST_F(Menus, HelpContentsOpensTopicOneOfTheHelpFile) {
  click(input().cont_menu);
  ASSERT_EQ(platform.helpShown.size(), 1U);
  EXPECT_EQ(platform.helpShown[0], std::make_pair(std::string("Vuvuva.zev"), 1));
  EXPECT_EQ(input().cont_menu.Shortcut(), "F1");
}

TEST_F(Menus, CodeInformationOpensThePanelAndCloseShutsIt) {
  DERAZO_Input& in = input();
  click(in.Command_Code_Info);
  click(in.Command_Code_Info);           // twice: still open
  std::map<int, std::string> described;  // the op codes the panel shows, top to bottom
  for (const ui::Element* e : in.elements()) {
    if (e->container() == &in.Code_frame && e->kind() == ui::ElementKind::Label &&
        e->shownOnScreen())
      described[e->rect().top] = static_cast<const ui::Label*>(e)->Caption().substr(0, 3);
  }
  std::string codes;
  for (const auto& [top, code] : described) codes += code + " ";
  EXPECT_EQ(codes, "000 001 010 011 100 101 110 111 ");
  EXPECT_EQ(in.focused(), &in.Command_Code_Close);
  type(in.Input_Bit(1), "1");  // entry stays usable with the panel open
  EXPECT_EQ(in.Input_Op_Code(0).Text(), "4");
  click(in.Command_Code_Close);
  EXPECT_FALSE(in.Code_frame.visible() || in.Label_Description_ADD.shownOnScreen());
  EXPECT_EQ(in.focused(), &in.Command_Execute_Program);
}

}  // namespace
}  // namespace volpar::testing
