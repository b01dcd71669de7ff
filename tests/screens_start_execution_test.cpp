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
  startAt(0), click(rexec().Command_Begin_Step);
  tickUntilStopped();  // OUTPUT stops the clock
  click(rexec().Command_Resume), click(rexec().Command_Pause), tickUntilStopped();
  ASSERT_EQ(registers(), "PC 3 AR 31 IR 159 X 255 Y 255 S 254 OUT 254");
  ASSERT_TRUE(negativeFlag());

  click(rexec().Command_Return_to_Input), typeBits("11111111"), input().exec_text.SetFocus();
  type(input().exec_text, "4"), pressEnter(input());
  // A clean machine: every cell white but the clock's T0 and the PC's, every caption 0, the
  // input screen open behind with its panel shown, Enter the Begin button's.
  expectGolden("start/second_run.txt", registers() + "\n" + screens());
  click(rexec().Command_One_instruction), tickUntilStopped();
  EXPECT_EQ(view().pc(), 7) << "BR NNeg is taken at S = 0";
  EXPECT_EQ(memoryBits(5), "11111111");
  input().memory_text.SetFocus(), pressEnter(input());
  EXPECT_EQ(memoryBits(0), "11111111");
}

// Execute Program opens the panel with the address selected and OK as the default button;
// Cancel hides it, and the panel opens again with the last address. The memory view hides
// the entry, keeps the execution screen and shows the grid changing while the clock goes on
// (a STORE of 0 over 11111111 at 10); Return to Input brings the entry back and closes the
// code panel, neither touching the clock (tests/data/start/panel_and_memory_view.txt).
TEST_F(StartExecution, StartPanelThenMemoryViewAndTheWayBack) {
  DERAZO_Input& in = input();
  poke(4, "010 01010");  // STORE 10
  expectChanges(
      "start/panel_and_memory_view.txt",
      {{"Execute Program", [&] { click(in.Command_Execute_Program); }},
       {"7 typed, Cancel",
        [&] { type(in.exec_text, "7"), click(in.Command_Start_Location_Cancel); }},
       {"Execute Program", [&] { click(in.Command_Execute_Program); }},
       {"4 typed, OK, Begin, T1",
        [&] { type(in.exec_text, "4"), click(in.Command_OK_For_Start_Location), step(), tick(); }},
       {"Code information, View Memory",
        [&] { click(in.Command_Code_Info), click(rexec().Command_View_Memory); }},
       {"11111111 at 10, T2 to T5", [&] { poke(10, "11111111"), tick(), tick(), tick(), tick(); }},
       {"Return to Execution", [&] { click(in.Return_to_exec_screen); }},
       {"Pause, T0", [&] { click(rexec().Command_Pause), tickUntilStopped(); }},
       {"View Memory, Return to Input",
        [&] { click(rexec().Command_View_Memory), click(rexec().Command_Return_to_Input); }},
       {"Code information, Return to Input",
        [&] { click(in.Command_Code_Info), click(rexec().Command_Return_to_Input); }}});
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace volpar::testing
