#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

namespace fs = std::filesystem;

class Menus : public ScreensFixture {
 protected:
  fs::path dir;

  Menus() {
    dir = fs::temp_directory_path() /
          ("volpar-menus-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~Menus() override { fs::remove_all(dir); }

  std::string file(const char* name) { return (dir / name).string(); }
};

TEST_F(Menus, SaveAndOpenGoThroughTheDialogToTheProgramFile) {
  poke(0, "001 00101");
  poke(31, "10000001");
  platform.saveAnswers.push_back(file("prog.txt"));
  click(input().save_menu);
  ASSERT_EQ(platform.dialogs.size(), 1U);
  const FakePlatform::DialogCall& save = platform.dialogs[0];
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.filter, "Text file (*.txt)|*.txt");
  EXPECT_EQ(save.defaultExt, ".txt");
  EXPECT_EQ(save.flags, 2050);
  EXPECT_EQ(save.initDir, "/opt/volpar");
  EXPECT_EQ(save.fileNameBefore, "");
  EXPECT_TRUE(fs::exists(file("prog.txt")));
  EXPECT_TRUE(platform.messages.empty());

  click(input().Command_Restart);
  ASSERT_EQ(memoryBits(0), "00000000");
  platform.openAnswers.push_back(file("prog.txt"));
  click(input().Open_menu);
  ASSERT_EQ(platform.dialogs.size(), 2U);
  const FakePlatform::DialogCall& open = platform.dialogs[1];
  EXPECT_FALSE(open.save);
  EXPECT_EQ(open.filter, "Text file (*.txt)|*.txt");
  EXPECT_EQ(open.defaultExt, ".txt");
  EXPECT_EQ(open.flags, 2048);
  EXPECT_EQ(open.initDir, "/opt/volpar");
  EXPECT_EQ(memoryBits(0), "00100101");
  EXPECT_EQ(memoryBits(31), "10000001");
  EXPECT_EQ(manual().Program_File_Name, file("prog.txt"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Menus, TheDialogOffersTheNameLastChosen) {
  platform.saveAnswers.push_back(file("a.txt"));
  click(input().save_menu);
  click(input().Open_menu);  // cancelled
  platform.openAnswers.push_back(file("a.txt"));
  click(input().Open_menu);
  ASSERT_EQ(platform.dialogs.size(), 3U);
  EXPECT_EQ(platform.dialogs[1].fileNameBefore, file("a.txt"));
  EXPECT_EQ(platform.dialogs[2].fileNameBefore, file("a.txt"));
}

TEST_F(Menus, ACancelledDialogLoadsAndSavesNothing) {
  platform.saveAnswers.push_back(file("kept.txt"));
  click(input().save_menu);
  poke(3, "11110000");
  const auto written = fs::last_write_time(file("kept.txt"));

  click(input().Open_menu);  // the empty answer queue cancels
  EXPECT_EQ(memoryBits(3), "11110000");
  click(input().save_menu);
  EXPECT_EQ(fs::last_write_time(file("kept.txt")), written);
  std::ifstream in(file("kept.txt"));
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved.find("11110000"), std::string::npos);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.dialogs.size(), 3U);
}

TEST_F(Menus, AFileThatCannotBeLoadedIsReportedAndMemoryIsKept) {
  poke(2, "01010101");
  platform.openAnswers.push_back(file("missing.txt"));
  click(input().Open_menu);
  ASSERT_EQ(platform.messages.size(), 1U);
  EXPECT_EQ(platform.messages[0].title, "VOLPAR -- PROGRAM FILE");
  EXPECT_NE(platform.messages[0].text.find(file("missing.txt")), std::string::npos)
      << platform.messages[0].text;
  EXPECT_EQ(memoryBits(2), "01010101");
}

TEST_F(Menus, AFileThatCannotBeSavedIsReported) {
  platform.saveAnswers.push_back((dir / "no-such-folder" / "p.txt").string());
  click(input().save_menu);
  ASSERT_EQ(platform.messages.size(), 1U);
  EXPECT_EQ(platform.messages[0].title, "VOLPAR -- PROGRAM FILE");
}

TEST_F(Menus, OpenChangesOnlyTheMemoryGrid) {
  platform.saveAnswers.push_back(file("p.txt"));
  click(input().save_menu);
  typeBits("11100011");
  type(input().memory_text, "9");
  click(input().Command_Execute_Program);
  platform.openAnswers.push_back(file("p.txt"));
  click(input().Open_menu);
  EXPECT_EQ(entryBits(), "11100011");
  EXPECT_EQ(input().memory_text.Text(), "9");
  EXPECT_TRUE(input().EXEC_FRAME.visible());
}

TEST_F(Menus, HelpContentsOpensTopicOneOfTheHelpFile) {
  click(input().cont_menu);
  ASSERT_EQ(platform.helpShown.size(), 1U);
  EXPECT_EQ(platform.helpShown[0].first, "Vuvuva.zev");
  EXPECT_EQ(platform.helpShown[0].second, 1);
  EXPECT_EQ(input().cont_menu.Shortcut(), "F1");
}

TEST_F(Menus, CodeInformationOpensThePanelAndCloseShutsIt) {
  DERAZO_Input& in = input();
  click(in.Command_Code_Info);
  click(in.Command_Code_Info);  // twice: still open
  EXPECT_TRUE(in.Code_frame.visible());
  EXPECT_EQ(in.focused(), &in.Command_Code_Close);
  for (ui::Label* l :
       {&in.Label_Description_ADD, &in.Label_Description_LOAD, &in.Label_Description_STORE,
        &in.Label_Description_INPUT, &in.Label_Description_OUTPUT, &in.Label_Description_BRANCH,
        &in.Label_Description_BR_NEG, &in.Label_Description_BR_NN}) {
    EXPECT_TRUE(l->shownOnScreen()) << l->name();
  }
  EXPECT_TRUE(in.Input_Bit(1).usable()) << "entry stays usable with the panel open";
  type(in.Input_Bit(1), "1");
  EXPECT_EQ(in.Input_Op_Code(0).Text(), "4");

  click(in.Command_Code_Close);
  EXPECT_FALSE(in.Code_frame.visible());
  EXPECT_FALSE(in.Label_Description_ADD.shownOnScreen());
  EXPECT_TRUE(in.Label_Description_ADD.visible()) << "marked shown inside the closed frame";
  EXPECT_EQ(in.focused(), &in.Command_Execute_Program);
}

}  // namespace
}  // namespace volpar::testing
