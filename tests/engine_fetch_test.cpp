#include <gtest/gtest.h>

#include <ostream>

#include "support/machine_fixture.h"

namespace volpar::testing {
namespace {

using ui::kRed;
using ui::kWhite;

class EngineFetch : public MachineFixture {};

// LOAD 5 at address 0, memory[5] = 10000001, manual clock: one instruction end to end.
TEST_F(EngineFetch, OneInstructionFromEndToEnd) {
  putByte(0, "00100101");
  putByte(5, "10000001");
  setManual();
  startAt(0);
  ASSERT_EQ(clockCells(), "10000000");

  pulse();  // T1
  EXPECT_EQ(clockCells(), "01000000");
  EXPECT_EQ(arBits(), "00000");
  EXPECT_EQ(ar(), "0");
  EXPECT_FALSE(manual.At_Phase_Zero);
  EXPECT_EQ(runControls(), "step view");
  EXPECT_EQ(manual.Clock_Phase, 2);

  pulse();  // T2
  EXPECT_EQ(clockCells(), "00100000");
  EXPECT_EQ(irBits(), "00100101");
  EXPECT_EQ(memoryBits(0), "00100101");  // the memory keeps its yellow cells
  EXPECT_EQ(irAddress(), "5");
  EXPECT_EQ(greenCells(), "SHAPEID(2) SHAPET4(1) shapet5(1)");
  EXPECT_EQ(pc(), "0");
  EXPECT_EQ(manual.Clock_Phase, 3);

  pulse();  // T3
  EXPECT_EQ(clockCells(), "00010000");
  EXPECT_EQ(pc(), "1");
  EXPECT_EQ(pcBits(), "00001");
  EXPECT_EQ(memoryWordBits(), "00000000");
  EXPECT_EQ(manual.Clock_Phase, 4);

  pulse();  // T4
  EXPECT_EQ(clockCells(), "00001000");
  EXPECT_EQ(litLamps(), "shape_irar");
  EXPECT_EQ(arBits(), "00101");
  EXPECT_EQ(ar(), "5");
  EXPECT_EQ(manual.Clock_Phase, 5);

  pulse();  // T5
  EXPECT_EQ(clockCells(), "00000100");
  EXPECT_EQ(litLamps(), "shapemt");
  EXPECT_EQ(sBits(), "10000001");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(s(), "129");
  EXPECT_EQ(manual.Clock_Phase, 6);

  pulse();  // T6
  EXPECT_EQ(clockCells(), "00000010");
  EXPECT_EQ(litLamps(), "");
  EXPECT_EQ(manual.Clock_Phase, 7);

  pulse();  // T7
  EXPECT_EQ(clockCells(), "00000001");
  EXPECT_EQ(manual.Clock_Phase, 0);
  EXPECT_EQ(runControls(), "step view");

  pulse();  // T0
  EXPECT_EQ(clockCells(), "10000000");
  EXPECT_TRUE(manual.At_Phase_Zero);
  EXPECT_EQ(manual.Clock_Phase, 1);
  EXPECT_EQ(runControls(), "step view return");
  EXPECT_EQ(s(), "129");
  EXPECT_EQ(pc(), "1");
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
  if (c.manualMode) setManual(); else setAutomatic();
  startAt(0);
  runAutomatically();  // a timer left running must be stopped by a manual T0 too
  finishInstruction();
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

TEST_F(EngineFetch, T1CopiesThePCCaptionCharacterForCharacter) {
  startAt("07");
  pulse();
  EXPECT_EQ(ar(), "07");
  EXPECT_EQ(arBits(), "00111");
}

TEST_F(EngineFetch, T2FetchesTheLastAddressFromTheLastEightCells) {
  putByte(31, "10100011");
  putByte(30, "11111111");
  startAt(31);
  pulses(2);
  EXPECT_EQ(irBits(), "10100011");
  EXPECT_EQ(irAddress(), "3");
  EXPECT_EQ(greenCells(), "SHAPEID(6) SHAPET4(5)");
}

TEST_F(EngineFetch, T2ReadsBlackAndOddColouredMemoryCellsAsZero) {
  putByte(2, "1x1x1x1x");
  input.Shape1(8 * 2 + 1).setFillColor(kRed);  // not the memory's colour for 1
  startAt(2);
  pulses(2);
  EXPECT_EQ(irBits(), "00101010");
  EXPECT_EQ(irAddress(), "10");
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
  EXPECT_EQ(rexec.SHAPET4(7).FillColor(), kRed);
  EXPECT_EQ(s(), "128");
}

// Every op code lights its decoder cell and the phase cells of the phases it acts in.
struct DecodeCase {
  int opCode;
  const char* green;
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << "op code " << c.opCode; }

class EngineDecode : public MachineFixture, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(EngineDecode, LightsTheDecoderCellAndItsPhaseCells) {
  putInstruction(0, GetParam().opCode, 31);
  startAt(0);
  pulses(2);
  EXPECT_EQ(greenCells(), GetParam().green);
  EXPECT_EQ(irAddress(), "31");
  EXPECT_EQ(rexec.SHAPET4(7).FillColor(), kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineDecode,
    ::testing::Values(
        DecodeCase{0, "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)"},
        DecodeCase{1, "SHAPEID(2) SHAPET4(1) shapet5(1)"},
        DecodeCase{2, "SHAPEID(3) SHAPET4(2) shapet5(2)"},
        DecodeCase{3, "SHAPEID(4) SHAPET4(3) shapet6(1) shapet7(1)"},
        DecodeCase{4, "SHAPEID(5) SHAPET4(4) shapet5(3) shapet6(2)"},
        DecodeCase{5, "SHAPEID(6) SHAPET4(5)"},
        DecodeCase{6, "SHAPEID(7) SHAPET4(6)"},
        DecodeCase{7, "SHAPEID(8) SHAPET4(8)"}));

// Op-code bits loaded as "x" are fetched as 0: the byte decodes as ADD.
TEST_F(EngineFetch, BlackOpCodeBitsDecodeAsZero) {
  putByte(0, "xxx00011");
  startAt(0);
  pulses(2);
  EXPECT_EQ(irBits(), "00000011");
  EXPECT_EQ(greenCells(), "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)");
}

}  // namespace
}  // namespace volpar::testing
