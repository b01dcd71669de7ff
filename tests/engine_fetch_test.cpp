#include <gtest/gtest.h>

#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class EngineFetch : public ScreensFixture {
 protected:
  // All a student sees of the run, phase cells and run controls aside, in one line.
  std::string seen() {
    return "clock " + clockCells() + " | " + registers() + " | M " +
           lit(rexec().Register_Memory, ui::kRed).substr(1) + (negativeFlag() ? " neg" : "") +
           " | lamps " + litLamps();
  }
};

// LOAD 5 at address 6, memory[5] = 10000001, manual clock: one instruction end to end.
TEST_F(EngineFetch, OneInstructionFromEndToEnd) {
  pokeFrom(5, {"10000001", "00100101", "01010101"});
  rexec().manual_radio.setValue(true);
  startAt(6);
  EXPECT_EQ(seen(), "clock 10000000 | PC 6 AR 0 IR 0 X 0 Y 0 S 0 OUT 0 | M 00000000 | lamps ");
  EXPECT_EQ(runControls(), "step one view return");
  const char* const after[] = {
      "clock 01000000 | PC 6 AR 6 IR 0 X 0 Y 0 S 0 OUT 0 | M 00000000 | lamps ",
      "clock 00100000 | PC 6 AR 6 IR 37 X 0 Y 0 S 0 OUT 0 | M 00000000 | lamps ",
      "clock 00010000 | PC 7 AR 6 IR 37 X 0 Y 0 S 0 OUT 0 | M 01010101 | lamps ",
      "clock 00001000 | PC 7 AR 5 IR 37 X 0 Y 0 S 0 OUT 0 | M 01010101 | lamps shape_irar",
      "clock 00000100 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps shapemt",
      "clock 00000010 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps ",
      "clock 00000001 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps ",
      "clock 10000000 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps ",
  };
  for (int phase = 1; phase <= 8; ++phase) {
    pulse();
    const std::string where = "after T" + std::to_string(phase % 8);
    EXPECT_EQ(seen(), after[phase - 1]) << where;
    EXPECT_EQ(runControls(), phase == 8 ? "step view return" : "step view") << where;
    EXPECT_EQ(view().phase(), (phase + 1) % 8) << where;
    EXPECT_EQ(view().atInstructionBoundary(), phase == 8) << where;
    EXPECT_EQ(greenCells(), phase == 1 ? "" : "SHAPEID(2) SHAPET4(1) shapet5(1)") << where;
  }
  EXPECT_EQ(memoryBits(6), "00100101");  // the memory keeps its yellow cells
}

// Only exact yellow is a 1: black ("x") and other colours fetch as 0, op-code bits too. ADD
// of a zero byte lights four phase cells and leaves S at 128; the BR Neg after it clears them
// but keeps the negative flag, which follows S.
TEST_F(EngineFetch, T2ReadsOnlyYellowAndClearsTheLastDecodeButNotTheNegativeFlag) {
  pokeFrom(0, {"00010100", "11x01x1x"});
  input().Shape1(8 + 4).setFillColor(ui::kRed);
  poke(20, 128);
  startAt(0);
  pulse(10);  // ADD, then T1 and T2 of BR Neg
  EXPECT_EQ(view().ir(), 0b11001010);
  EXPECT_EQ(rexec().IR_Address_Decimal.Caption(), "10");
  EXPECT_EQ(greenCells(), "SHAPEID(7) SHAPET4(6)");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(view().s(), 128);
}

}  // namespace
}  // namespace volpar::testing
