#include <gtest/gtest.h>

#include <ostream>

#include "support/machine_fixture.h"

namespace volpar::testing {
namespace {

class EngineFetch : public MachineFixture {};

// LOAD 5 at address 0, memory[5] = 10000001, manual clock: one instruction end to end.
TEST_F(EngineFetch, OneInstructionFromEndToEnd) {
  putByte(0, "00100101");
  putByte(5, "10000001");
  setManual();
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
    EXPECT_EQ(manual.Clock_Phase, (phase + 1) % 8) << where;
    EXPECT_EQ(manual.At_Phase_Zero, phase == 8) << where;
    EXPECT_EQ(greenCells(), phase == 1 ? "" : "SHAPEID(2) SHAPET4(1) shapet5(1)") << where;
  }
  EXPECT_EQ(memoryBits(0), "00100101");  // the memory keeps its yellow cells
}

// T0 stops the clock in manual mode always, in automatic mode only on request.
struct T0Case {
  const char* what;
  bool manualMode;
  bool pauseRequested;
  const char* controls;
  bool pauseStillRequested;
};
void PrintTo(const T0Case& c, std::ostream* os) { *os << c.what; }

class EngineT0 : public MachineFixture, public ::testing::WithParamInterface<T0Case> {};

TEST_P(EngineT0, StopsTheClockAsTheModeAndRequestSay) {
  const T0Case& c = GetParam();
  if (c.manualMode) setManual();
  startAt(0);
  // Begin in automatic mode; in manual mode a timer left running, which T0 stops too.
  if (c.manualMode) rexec.Timer1.setEnabled(true); else rexec.Command_Begin_Step.click();
  pulses(7);
  rexec.Shapexyt.setFillColor(ui::kCyan);
  rexec.Shapeit.setFillColor(ui::kCyan);
  manual.Pause_At_T0 = c.pauseRequested;

  pulse();

  EXPECT_EQ(runControls(), c.controls) << c.what;
  EXPECT_EQ(manual.Pause_At_T0, c.pauseStillRequested) << c.what;
  EXPECT_EQ(clockCells(), "10000000");
  EXPECT_EQ(litLamps(), "");
  EXPECT_TRUE(manual.At_Phase_Zero);
  EXPECT_EQ(manual.Clock_Phase, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineT0,
    ::testing::Values(
        T0Case{"manual", true, false, "step view return", false},
        T0Case{"manual keeps a pause request", true, true, "step view return", true},
        T0Case{"automatic runs on", false, false, "pause view timer", false},
        T0Case{"automatic pauses", false, true, "resume one view return", false}));

// Only exact yellow is a 1: black ("x") and other colours fetch as 0, op-code bits too.
TEST_F(EngineFetch, T2ReadsBlackAndOddColouredMemoryCellsAsZero) {
  putByte(2, "xx1x1x1x");
  input.Shape1(8 * 2 + 2).setFillColor(ui::kRed);
  startAt(2);
  pulses(2);
  EXPECT_EQ(irBits(), "00101010");
  EXPECT_EQ(rexec.IR_Address_Decimal.Caption(), "10");
  EXPECT_EQ(greenCells(), "SHAPEID(2) SHAPET4(1) shapet5(1)");
}

TEST_F(EngineFetch, T2ClearsTheLastDecodeButRestoresTheNegativeFlagFromS) {
  putInstruction(0, 0, 20);  // ADD of a zero byte: lights four phase cells
  putInstruction(1, 6, 0);  // BR Neg
  startAt(0);
  setS(128);
  runInstruction();
  pulses(2);  // T1, T2 of BR Neg
  EXPECT_EQ(greenCells(), "SHAPEID(7) SHAPET4(6)");
  EXPECT_EQ(rexec.SHAPET4(7).FillColor(), ui::kRed);
  EXPECT_EQ(s(), "128");
}

// Every op code lights its decoder cell and the phase cells of the phases it acts in;
// each fetch clears the cells of the last.
TEST_F(EngineFetch, T2LightsTheDecoderCellAndItsPhaseCells) {
  const char* const green[] = {
      "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)", "SHAPEID(2) SHAPET4(1) shapet5(1)",
      "SHAPEID(3) SHAPET4(2) shapet5(2)", "SHAPEID(4) SHAPET4(3) shapet6(1) shapet7(1)",
      "SHAPEID(5) SHAPET4(4) shapet5(3) shapet6(2)", "SHAPEID(6) SHAPET4(5)",
      "SHAPEID(7) SHAPET4(6)", "SHAPEID(8) SHAPET4(8)"};
  for (int op : {0, 1, 2, 3, 4, 5, 6, 7, 0}) {
    putInstruction(0, op, 31);
    startAt(0);
    pulses(2);
    EXPECT_EQ(greenCells(), green[op]) << "op code " << op;
    EXPECT_EQ(rexec.IR_Address_Decimal.Caption(), "31");
    EXPECT_FALSE(negativeFlag());
  }
}

}  // namespace
}  // namespace volpar::testing
