#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// A student's whole session, from the welcome screen to a restart, through the handlers
// only: a program typed in, run by hand and by the clock, with inputs and outputs.
//   0 INPUT, 1 ADD 10, 2 STORE 11, 3 OUTPUT, 4 BRANCH 0; 10 holds 5.
class Session : public ScreensFixture {
 protected:
  void enterDecimal(const char* opCode, const char* address) {
    type(input().Input_Op_Code(0), opCode);
    type(input().Input_Memory_Address, address);
    click(input().Command_Send_to_Memory);
  }
};

TEST_F(Session, FromWelcomeToRestart) {
  // The welcome screen, in front of the input screen, hands over at the first key.
  ASSERT_TRUE(welcome().Visible() && input().Visible());
  welcome().onKeyPress('a');
  app.collectRetired();
  ASSERT_FALSE(welcome().Visible());
  ASSERT_TRUE(input().Visible());

  // The program, the first byte in binary, the others as op code and address.
  typeBits("01100000");
  click(input().Command_Send_to_Memory);
  enterDecimal("0", "10");
  enterDecimal("2", "11");
  enterDecimal("4", "0");
  enterDecimal("5", "0");
  type(input().memory_text, "10");
  typeBits("00000101");
  click(input().Command_Send_to_Memory);
  for (auto [a, bits] : {std::pair{0, "01100000"}, {1, "00001010"}, {2, "01001011"},
                         {3, "10000000"}, {4, "10100000"}, {10, "00000101"}}) {
    EXPECT_EQ(memoryBits(a), bits) << a;
  }
  EXPECT_EQ(input().memory_text.Text(), "11");
  ASSERT_TRUE(platform.messages.empty());

  // Execute Program, OK at 0; then a manual clock.
  startAt(0);
  ASSERT_TRUE(rexec().Visible());
  chooseManual();

  // INPUT: T1..T6 wait for the value, typed in decimal.
  step(6);
  ASSERT_TRUE(rexec().Input_Window.enabled());
  EXPECT_EQ(rexec().Command_Input_Window_OK.Caption(), "&Step");
  type(rexec().Text_Input_Decimal, "3");
  EXPECT_EQ(windowBits(), "00000011");
  click(rexec().Command_Input_Window_OK);
  step(2);  // T7, T0
  EXPECT_EQ(registers(), "PC 1 AR 0 IR 96 X 0 Y 0 S 3 OUT 0");
  step(8 * 3);  // ADD 10, STORE 11, OUTPUT
  EXPECT_EQ(registers(), "PC 4 AR 0 IR 128 X 3 Y 5 S 8 OUT 8");

  // View Memory shows the STORE's result; back to the execution screen.
  click(rexec().Command_View_Memory);
  EXPECT_TRUE(input().Return_to_exec_screen.visible());
  EXPECT_EQ(memoryBits(11), "00001000");
  click(input().Return_to_exec_screen);
  ASSERT_TRUE(rexec().Visible());

  step(8);  // BRANCH 0
  EXPECT_EQ(view().pc(), 0);
  EXPECT_EQ(runControls(), "step view return");

  // The automatic clock, at full speed.
  openOptions();
  click(rexec().automatic_radio);
  drag(rexec().time_scroll, 1000);
  click(rexec().Command_Options_Close);
  EXPECT_EQ(rexec().Timer1.Interval(), 1);
  step();  // Begin
  EXPECT_EQ(tickUntilStopped(), 6);  // INPUT waits at T6
  EXPECT_EQ(windowBits(), "00000011") << "the last value entered is offered again";
  EXPECT_EQ(rexec().Command_Input_Window_OK.Caption(), "&Resume");
  type(rexec().Input_bit(7), "0");
  type(rexec().Input_bit(6), "1");
  type(rexec().Input_bit(1), "1");
  EXPECT_EQ(rexec().Text_Input_Decimal.Text(), "133");
  click(rexec().Command_Input_Window_OK);
  // T7, T0, ADD, STORE, then OUTPUT stops at T6 (Stop for Output is ticked).
  EXPECT_EQ(tickUntilStopped(), 2 + 8 + 8 + 6);
  EXPECT_EQ(runControls(), "resume view");
  EXPECT_EQ(registers(), "PC 4 AR 0 IR 128 X 133 Y 5 S 138 OUT 138");

  // A pause at T0.
  click(rexec().Command_Resume);
  click(rexec().Command_Pause);
  EXPECT_EQ(tickUntilStopped(), 2);  // T7 and the T0 that stops
  EXPECT_EQ(runControls(), "resume one view return");

  // Return to Input, then Restart: a clean machine, and the program goes on.
  click(rexec().Command_Return_to_Input);
  EXPECT_TRUE(input().EXEC_FRAME.visible());
  EXPECT_TRUE(input().Command_Send_to_Memory.shownOnScreen());
  click(input().Command_Restart);
  for (int a = 0; a < 32; ++a) ASSERT_EQ(memoryBits(a), "00000000") << a;
  EXPECT_TRUE(input().Visible() && !rexec().Visible());
  EXPECT_EQ(rexec().Register_S_Decimal.Caption(), "");
  EXPECT_EQ(rexec().Timer1.Interval(), 1000);
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace volpar::testing
