// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using StartExecution = ScreensFixture;

// OK puts the machine at T0 with the PC at the start address. A second run starts on a
// clean machine: every caption 0 and no cell of the last run lit, so the negative flag
// agrees with S and a branch if not negative is taken. Send to Memory stays the default
// button: Enter in the start address starts the run and writes nothing; elsewhere it sends
// the byte.
TEST_F(StartExecution, ASecondRunStartsOnAMachineWithoutTheColoursOfTheFirst) {
  pokeFrom(0, {"001 00101", "000 00101", "100 11111"});  // LOAD 5, ADD 5, OUTPUT
  pokeFrom(4, {"111 00111", "11111111"});                // BR NNeg 7; 255
  startAt(0);
  click(rexec().Command_Begin_Step);
  tickUntilStopped();  // OUTPUT stops the clock
  click(rexec().Command_Resume);
  click(rexec().Command_Pause);
  tickUntilStopped();
  ASSERT_EQ(registers(), "PC 3 AR 31 IR 159 X 255 Y 255 S 254 OUT 254");
  ASSERT_TRUE(negativeFlag());

  click(rexec().Command_Return_to_Input);
  typeBits("11111111");
  input().exec_text.SetFocus();
  type(input().exec_text, "4");
  pressEnter(input());
  // A clean machine: every cell white but the clock's T0 and the PC's, every caption 0, the
  // input screen open behind with its panel shown, Enter the Begin button's.
  expectGolden("start/second_run.txt", registers() + "\n" + screens());
  click(rexec().Command_One_instruction);
  tickUntilStopped();
  EXPECT_EQ(view().pc(), 7) << "BR NNeg is taken at S = 0";
  EXPECT_EQ(memoryBits(5), "11111111");
  input().memory_text.SetFocus();
  pressEnter(input());
  EXPECT_EQ(memoryBits(0), "11111111");
}

// Execute Program opens the panel with the address selected and OK as the default button;
// Cancel hides it, and the panel opens again with the last address. The memory view shows
// the grid changing while the clock goes on; Return to Input brings the entry back.
TEST_F(StartExecution, StartPanelThenMemoryViewAndTheWayBack) {
  DERAZO_Input& in = input();
  for (const char* shown : {"0", "7"}) {
    click(in.Command_Execute_Program);
    EXPECT_TRUE(in.Command_OK_For_Start_Location.shownOnScreen() &&
                in.Command_OK_For_Start_Location.Default());
    EXPECT_EQ(in.focused(), &in.exec_text);
    EXPECT_EQ(in.exec_text.Text(), shown);
    EXPECT_EQ(in.exec_text.SelLength(), 1);
    type(in.exec_text, "7");
    click(in.Command_Start_Location_Cancel);
    EXPECT_FALSE(in.EXEC_FRAME.visible());
  }
  poke(4, "010 01010");  // STORE 10
  startAt(4);
  step();
  tick();  // T1
  click(in.Command_Code_Info);
  click(rexec().Command_View_Memory);
  // Entry controls the memory view hides, a few of each kind.
  const ui::Element* entry[] = {&in.Input_Bit(1),           &in.Input_Bit(8),
                                &in.Input_Op_Code(0),       &in.memory_text,
                                &in.Command_Send_to_Memory, &in.Command_Execute_Program};
  EXPECT_TRUE(in.Visible() && rexec().Visible()) << "the execution screen is not hidden";
  EXPECT_EQ(in.focused(), &in.Return_to_exec_screen);
  for (const ui::Element* e : entry) EXPECT_FALSE(e->shownOnScreen()) << e->displayName();
  EXPECT_FALSE(in.EXEC_FRAME.visible() || in.Code_frame.visible());
  EXPECT_TRUE(in.Command_Restart.visible() && in.Command_quit.visible());
  EXPECT_TRUE(rexec().Timer1.enabled()) << "the clock goes on";

  poke(10, "11111111");
  for (int i = 0; i < 4; ++i) tick();  // T2..T5: S (0) is stored at 10, in view
  EXPECT_EQ(memoryBits(10), "00000000");

  click(in.Return_to_exec_screen);
  EXPECT_TRUE(rexec().Visible() && !input().Visible());
  EXPECT_TRUE(input().Return_to_exec_screen.visible()) << "the arrangement is kept";

  click(rexec().Command_Pause);
  tickUntilStopped();  // the T0 after STORE
  click(rexec().Command_View_Memory);
  click(rexec().Command_Return_to_Input);
  EXPECT_TRUE(in.Visible() && rexec().Visible() && !in.Return_to_exec_screen.visible());
  for (const ui::Element* e : entry) EXPECT_TRUE(e->shownOnScreen()) << e->displayName();
  EXPECT_TRUE(in.Command_OK_For_Start_Location.shownOnScreen());
  EXPECT_EQ(in.exec_text.Text(), "4");
  EXPECT_EQ(runControls(), "resume one view return") << "neither button touches the clock";
  click(in.Command_Code_Info);
  click(rexec().Command_Return_to_Input);
  EXPECT_FALSE(in.Code_frame.visible()) << "Return to Input closes the code panel";
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace volpar::testing
