#include <gtest/gtest.h>

#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class EngineFetch : public ScreensFixture {
 protected:
  // All a student sees of the run, phase cells aside, in one line.
  std::string view() {
    REXEC& r = rexec();
    return "clock " + clockCells() + " | PC " + r.Register_PC_Decimal.Caption() + " " +
           pcBits() + " | AR " + r.Register_Address_Decimal.Caption() + " " +
           lit(r.Shapear, ui::kYellow) + " | IR " + irBits() + " " + r.IR_Address_Decimal.Caption() +
           " | M " + lit(r.Register_Memory, ui::kRed).substr(1) + " | S " +
           r.Register_S_Decimal.Caption() + " " + sBits() + (negativeFlag() ? " neg" : "") +
           " | lamps " + litLamps() + " | " + runControls();
  }
};

// LOAD 5 at address 0, memory[5] = 10000001, manual clock: one instruction end to end.
TEST_F(EngineFetch, OneInstructionFromEndToEnd) {
  poke(0, "00100101");
  poke(5, "10000001");
  rexec().manual_radio.setValue(true);
  startAt(0);
  EXPECT_EQ(view(), "clock 10000000 | PC 0 00000 | AR 0 00000 | IR 00000000 0 | M 00000000 | "
                    "S 0 00000000 | lamps  | step one view return");
  const char* const after[] = {
      "clock 01000000 | PC 0 00000 | AR 0 00000 | IR 00000000 0 | M 00000000 | "
      "S 0 00000000 | lamps  | step view",
      "clock 00100000 | PC 0 00000 | AR 0 00000 | IR 00100101 5 | M 00000000 | "
      "S 0 00000000 | lamps  | step view",
      "clock 00010000 | PC 1 00001 | AR 0 00000 | IR 00100101 5 | M 00000000 | "
      "S 0 00000000 | lamps  | step view",
      "clock 00001000 | PC 1 00001 | AR 5 00101 | IR 00100101 5 | M 00000000 | "
      "S 0 00000000 | lamps shape_irar | step view",
      "clock 00000100 | PC 1 00001 | AR 5 00101 | IR 00100101 5 | M 00000000 | "
      "S 129 10000001 neg | lamps shapemt | step view",
      "clock 00000010 | PC 1 00001 | AR 5 00101 | IR 00100101 5 | M 00000000 | "
      "S 129 10000001 neg | lamps  | step view",
      "clock 00000001 | PC 1 00001 | AR 5 00101 | IR 00100101 5 | M 00000000 | "
      "S 129 10000001 neg | lamps  | step view",
      "clock 10000000 | PC 1 00001 | AR 5 00101 | IR 00100101 5 | M 00000000 | "
      "S 129 10000001 neg | lamps  | step view return",
  };
  for (int phase = 1; phase <= 8; ++phase) {
    pulse();
    const std::string where = "after T" + std::to_string(phase % 8);
    EXPECT_EQ(view(), after[phase - 1]) << where;
    EXPECT_EQ(manual().Clock_Phase, (phase + 1) % 8) << where;
    EXPECT_EQ(manual().At_Phase_Zero, phase == 8) << where;
    EXPECT_EQ(greenCells(), phase == 1 ? "" : "SHAPEID(2) SHAPET4(1) shapet5(1)") << where;
  }
  EXPECT_EQ(memoryBits(0), "00100101");  // the memory keeps its yellow cells
}

// Only exact yellow is a 1: black ("x") and other colours fetch as 0, op-code bits too.
TEST_F(EngineFetch, T2ReadsBlackAndOddColouredMemoryCellsAsZero) {
  poke(2, "xx1x1x1x");
  input().Shape1(8 * 2 + 2).setFillColor(ui::kRed);
  startAt(2);
  pulse(2);
  EXPECT_EQ(irBits(), "00101010");
  EXPECT_EQ(rexec().IR_Address_Decimal.Caption(), "10");
  EXPECT_EQ(greenCells(), "SHAPEID(2) SHAPET4(1) shapet5(1)");
}

// ADD of a zero byte lights four phase cells and leaves S at 128; the BR Neg after it
// clears them but keeps the negative flag, which follows S.
TEST_F(EngineFetch, T2ClearsTheLastDecodeButRestoresTheNegativeFlagFromS) {
  poke(0, 0, 20);
  poke(1, 6, 0);
  poke(20, 128);
  startAt(0);
  pulse(10);  // ADD, then T1 and T2 of BR Neg
  EXPECT_EQ(greenCells(), "SHAPEID(7) SHAPET4(6)");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(rexec().Register_S_Decimal.Caption(), "128");
}

}  // namespace
}  // namespace volpar::testing
