#include <gtest/gtest.h>

#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class StartExecution : public ScreensFixture {
 protected:
  ui::TextBox& start() { return input().exec_text; }
};

TEST_F(StartExecution, ExecuteProgramOpensThePanelWithTheAddressSelected) {
  click(input().Command_Execute_Program);
  DERAZO_Input& in = input();
  EXPECT_TRUE(in.EXEC_FRAME.visible());
  EXPECT_TRUE(in.label_execute.visible());
  EXPECT_TRUE(in.Command_Start_Location_Cancel.visible());
  EXPECT_TRUE(in.Command_OK_For_Start_Location.shownOnScreen());
  EXPECT_TRUE(in.Command_OK_For_Start_Location.Default());
  EXPECT_FALSE(in.Command_Send_to_Memory.Default());
  EXPECT_TRUE(start().shownOnScreen());
  EXPECT_EQ(in.focused(), &start());
  EXPECT_EQ(start().Text(), "0");
  EXPECT_EQ(start().SelLength(), 1);
}

TEST_F(StartExecution, OkPutsTheMachineAtT0WithThePcAtTheStartAddress) {
  startAt(19);
  REXEC& r = rexec();
  EXPECT_TRUE(r.Visible());
  EXPECT_EQ(r.Register_PC_Decimal.Caption(), "19");
  EXPECT_EQ(pcBits(), "10011");
  for (const ui::Label* l :
       {&r.Register_X_Decimal, &r.Register_Y_Decimal, &r.Register_S_Decimal,
        &r.Register_Address_Decimal, &r.Register_Output_Decimal, &r.IR_Address_Decimal}) {
    EXPECT_EQ(l->Caption(), "0") << l->name();
  }
  EXPECT_EQ(clockCells(), "10000000");
  EXPECT_EQ(runControls(), "step one view return");
  EXPECT_EQ(manual().Clock_Phase, 1);
  EXPECT_TRUE(manual().At_Phase_Zero);
  // The input screen stays open behind, the panel still shown; Enter is Send to Memory's.
  EXPECT_TRUE(input().Visible());
  EXPECT_TRUE(input().EXEC_FRAME.visible());
  EXPECT_TRUE(input().Command_Send_to_Memory.Default());
}

TEST_F(StartExecution, OkAtAddressZeroLeavesEveryPcCellWhite) {
  startAt(0);
  EXPECT_EQ(pcBits(), "00000");
  EXPECT_EQ(rexec().Register_PC_Decimal.Caption(), "0");
}

TEST_F(StartExecution, StartingAgainResetsOnlyWhatARunNeeds) {
  poke(0, "001 00101");  // LOAD 5
  poke(5, "10000001");
  startAt(0);
  click(rexec().Command_One_instruction);
  tickUntilStopped();
  ASSERT_EQ(rexec().Register_S_Decimal.Caption(), "129");
  click(rexec().Command_Return_to_Input);
  click(input().Command_OK_For_Start_Location);
  EXPECT_EQ(rexec().Register_S_Decimal.Caption(), "0");
  EXPECT_EQ(sBits(), "10000001") << "the cells keep their colours until the engine writes them";
  EXPECT_EQ(memoryBits(5), "10000001");
}

struct RefusedStart {
  const char* typed;
  const char* title;
  const char* text;
};

class StartAddressChecks : public StartExecution,
                           public ::testing::WithParamInterface<RefusedStart> {};

TEST_P(StartAddressChecks, RefusedAddressIsReportedAndPutBackToZeroSelected) {
  const RefusedStart& c = GetParam();
  click(input().Command_Execute_Program);
  type(start(), "12");
  type(start(), c.typed);
  ASSERT_EQ(platform.messages.size(), 1U) << c.typed;
  EXPECT_EQ(platform.messages[0].title, c.title) << c.typed;
  EXPECT_EQ(platform.messages[0].text, c.text) << c.typed;
  EXPECT_EQ(start().Text(), "0");
  EXPECT_EQ(input().focused(), &start());
  EXPECT_EQ(start().SelLength(), 1);
  click(input().Command_OK_For_Start_Location);
  EXPECT_EQ(rexec().Register_PC_Decimal.Caption(), "0");
}

constexpr const char* kIntegers = "Memory locations are integers between 0 and 31";
constexpr const char* kRange = "You must choose a memory location between 0 and 31";

INSTANTIATE_TEST_SUITE_P(Messages, StartAddressChecks,
                         ::testing::Values(RefusedStart{"x", "VOLPAR -- INFORMATION 5", kIntegers},
                                           RefusedStart{"", "VOLPAR -- INFORMATION 5", kIntegers},
                                           RefusedStart{"7x", "VOLPAR -- INFORMATION 6", kIntegers},
                                           RefusedStart{"12a", "VOLPAR -- INFORMATION 6",
                                                        kIntegers},
                                           RefusedStart{"32", "VOLPAR -- INFORMATION 7", kRange},
                                           RefusedStart{"99", "VOLPAR -- INFORMATION 7", kRange}));

TEST_F(StartExecution, CancelHidesThePanelAndExecuteProgramReopensItWithTheLastAddress) {
  click(input().Command_Execute_Program);
  type(start(), "7");
  click(input().Command_Start_Location_Cancel);
  EXPECT_FALSE(input().EXEC_FRAME.visible());
  EXPECT_TRUE(input().Command_OK_For_Start_Location.Default()) << "until OK is pressed";
  click(input().Command_Execute_Program);
  EXPECT_TRUE(input().EXEC_FRAME.visible());
  EXPECT_EQ(start().Text(), "7");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartExecution, AStartAddressWithALeadingZeroRunsFromItsNumber) {
  poke(5, "001 00000");  // LOAD 0
  click(input().Command_Execute_Program);
  type(start(), "05");
  click(input().Command_OK_For_Start_Location);
  EXPECT_EQ(pcBits(), "00101");
  chooseManual();
  step();
  step();  // T2 fetches from 5
  EXPECT_EQ(rexec().SHAPEID(2).FillColor(), ui::kGreen);
}

// --- Memory view and the way back ---------------------------------------------------

class MemoryView : public ScreensFixture {
 protected:
  // The entry controls that the memory view hides.
  std::vector<ui::Element*> entryControls() {
    DERAZO_Input& in = input();
    std::vector<ui::Element*> all{
        &in.Instruction_in_Binary, &in.Instruction_in_Decimal, &in.Input_Op_Code(0),
        &in.Input_Memory_Address,  &in.Label_Memory_Location,  &in.memory_text,
        &in.Command_Code_Info,     &in.Command_Send_to_Memory, &in.Command_Execute_Program};
    for (int i = 1; i <= 8; ++i) all.push_back(&in.Input_Bit(i));
    return all;
  }
};

TEST_F(MemoryView, ViewMemoryDuringARunShowsTheGridChangingWhileTheClockGoesOn) {
  poke(0, "010 01010");  // STORE 10
  startAt(0);
  step();
  tick();  // T1
  click(input().Command_Code_Info);
  click(rexec().Command_View_Memory);

  DERAZO_Input& in = input();
  EXPECT_TRUE(in.Visible());
  EXPECT_TRUE(rexec().Visible()) << "the execution screen is not hidden";
  EXPECT_TRUE(in.Return_to_exec_screen.visible());
  EXPECT_EQ(in.focused(), &in.Return_to_exec_screen);
  for (ui::Element* e : entryControls()) EXPECT_FALSE(e->shownOnScreen()) << e->displayName();
  EXPECT_FALSE(in.EXEC_FRAME.visible());
  EXPECT_FALSE(in.Code_frame.visible());
  EXPECT_TRUE(in.Command_Restart.visible());
  EXPECT_TRUE(in.Command_quit.visible());
  EXPECT_TRUE(rexec().Timer1.enabled()) << "the clock goes on";

  poke(10, "11111111");
  for (int i = 0; i < 4; ++i) tick();  // T2..T5: S (0) is stored at 10, in view
  EXPECT_EQ(memoryBits(10), "00000000");

  click(in.Return_to_exec_screen);
  EXPECT_TRUE(rexec().Visible());
  EXPECT_FALSE(input().Visible());
  EXPECT_TRUE(input().Return_to_exec_screen.visible()) << "the arrangement is kept";
}

TEST_F(MemoryView, ReturnToInputRestoresEntryWithTheStartPanelOpenAndTheCodePanelClosed) {
  startAt(4);
  click(rexec().Command_View_Memory);
  click(rexec().Command_Return_to_Input);
  DERAZO_Input& in = input();
  EXPECT_TRUE(in.Visible());
  EXPECT_TRUE(rexec().Visible());
  EXPECT_FALSE(in.Return_to_exec_screen.visible());
  for (ui::Element* e : entryControls()) EXPECT_TRUE(e->shownOnScreen()) << e->displayName();
  EXPECT_TRUE(in.EXEC_FRAME.visible());
  EXPECT_TRUE(in.exec_text.shownOnScreen());
  EXPECT_TRUE(in.label_execute.shownOnScreen());
  EXPECT_TRUE(in.Command_OK_For_Start_Location.shownOnScreen());
  EXPECT_FALSE(in.Code_frame.visible());
  EXPECT_EQ(in.exec_text.Text(), "4");
  EXPECT_EQ(runControls(), "step one view return") << "neither button touches the clock";
}

}  // namespace
}  // namespace volpar::testing
