// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class Engine : public ScreensFixture {
 protected:
  // All a student sees of the run, phase cells and run controls aside, in one line.
  std::string seen() {
    return "clock " + clockCells() + " | " + registers() + " | M " +
           lit(rexec().Register_Memory, ui::kRed).substr(1) + (negativeFlag() ? " neg" : "") +
           " | lamps " + litLamps();
  }
  // Puts `opCode address` at `at`, starts there with S holding `sValue` (cells and caption,
  // as a finished LOAD leaves them) and runs T1 to T3.
  void fetch(int at, int opCode, int address, int sValue = 0) {
    poke(at, opCode, address);
    startAt(at);
    rexec().Register_S_Decimal.setCaption(std::to_string(sValue));
    for (int j = 8; j >= 1; --j, sValue /= 2)
      rexec().Shapet(j).setFillColor(sValue % 2 ? ui::kRed : ui::kWhite);
    pulse(3);
  }
};

// LOAD 5 at address 6, memory[5] = 10000001, manual clock: one instruction end to end. Only
// exact yellow is a 1: black ("x") and other colours fetch as 0, op-code bits too.
TEST_F(Engine, OneInstructionFromEndToEnd) {
  pokeFrom(5, {"10000001", "x0100101", "01010101"});
  input().Shape1(8 * 6 + 4).setFillColor(ui::kRed);
  rexec().manual_radio.setValue(true);
  startAt(6);
  EXPECT_EQ(seen(), "clock 10000000 | PC 6 AR 0 IR 0 X 0 Y 0 S 0 OUT 0 | M 00000000 | lamps ");
  EXPECT_EQ(runControls(), "step one view return");
  const char* const after[] = {
      "clock 01000000 | PC 6 AR 6 IR 0 X 0 Y 0 S 0 OUT 0 | M 00000000 | lamps ",
      "clock 00100000 | PC 6 AR 6 IR 37 X 0 Y 0 S 0 OUT 0 | M 00000000 | lamps ",
      "clock 00010000 | PC 7 AR 6 IR 37 X 0 Y 0 S 0 OUT 0 | M 01010101 | lamps ",
      "clock 00001000 | PC 7 AR 5 IR 37 X 0 Y 0 S 0 OUT 0 | M 01010101 | lamps IR>AR",
      "clock 00000100 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps M>S",
      "clock 00000010 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps ",
      "clock 00000001 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps ",
      "clock 10000000 | PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0 | M 01010101 neg | lamps ",
  };
  for (int phase = 1; phase <= 8; ++phase) {
    pulse();
    const std::string where = "after T" + std::to_string(phase % 8);
    EXPECT_EQ(seen(), after[phase - 1]) << where;
    EXPECT_EQ(runControls(), phase == 8 ? "step view return" : "step view") << where;
    EXPECT_EQ(greenCells(), phase == 1 ? "" : "SHAPEID(2) SHAPET4(1) shapet5(1)") << where;
  }
  EXPECT_EQ(rexec().IR_Address_Decimal.Caption(), "5");
  EXPECT_EQ(memoryBits(6), "x01?0101");  // the memory keeps its cells
}

// One instruction from T1 to T0, S set beforehand: the lamps lit at T4, then the registers
// and the negative flag at T0. Black ("x") operand bits read as 0.
struct ExecuteCase {
  int at, opCode, operand, s;
  const char* memory;  // at the operand's address, if any
  const char* seen;
};
void PrintTo(const ExecuteCase& c, std::ostream* os) { *os << c.seen; }

const ExecuteCase kExecuteCases[] = {
    {4, 5, 9, 0, "", "IR>PC | PC 9 AR 4 IR 169 X 0 Y 0 S 0 OUT 0"},  // BRANCH
    {12, 5, 12, 0, "", "IR>PC | PC 12 AR 12 IR 172 X 0 Y 0 S 0 OUT 0"},
    {3, 6, 0, 127, "", " | PC 4 AR 3 IR 192 X 0 Y 0 S 127 OUT 0"},  // BR Neg
    {3, 6, 0, 128, "", "IR>PC | PC 0 AR 3 IR 192 X 0 Y 0 S 128 OUT 0 neg"},
    {31, 6, 7, 5, "", " | PC 0 AR 31 IR 199 X 0 Y 0 S 5 OUT 0"},
    {3, 7, 0, 0, "", "IR>PC | PC 0 AR 3 IR 224 X 0 Y 0 S 0 OUT 0"},  // BR NNeg
    {3, 7, 0, 200, "", " | PC 4 AR 3 IR 224 X 0 Y 0 S 200 OUT 0 neg"},
    {31, 7, 7, 5, "", "IR>PC | PC 7 AR 31 IR 231 X 0 Y 0 S 5 OUT 0"},
    {0, 0, 10, 200, "01100100", "IR>AR | PC 1 AR 10 IR 10 X 200 Y 100 S 44 OUT 0"},  // ADD
    {0, 0, 10, 100, "00110010", "IR>AR | PC 1 AR 10 IR 10 X 100 Y 50 S 150 OUT 0 neg"},
    {0, 0, 10, 128, "10000000", "IR>AR | PC 1 AR 10 IR 10 X 128 Y 128 S 0 OUT 0"},
    {0, 0, 10, 255, "11111111", "IR>AR | PC 1 AR 10 IR 10 X 255 Y 255 S 254 OUT 0 neg"},
    {0, 0, 10, 1, "x1x1111x", "IR>AR | PC 1 AR 10 IR 10 X 1 Y 94 S 95 OUT 0"},
};

class EngineOneInstruction : public Engine, public ::testing::WithParamInterface<ExecuteCase> {};

TEST_P(EngineOneInstruction, BranchesAndAdditionsEndWithTheRightRegisters) {
  const ExecuteCase& c = GetParam();
  if (*c.memory) poke(c.operand, c.memory);
  fetch(c.at, c.opCode, c.operand, c.s);
  pulse();  // T4
  const std::string lamps = litLamps();
  pulse(4);  // T5 to T0
  EXPECT_EQ(lamps + " | " + registers() + (negativeFlag() ? " neg" : ""), c.seen);
  EXPECT_EQ(*c.memory ? memoryBits(c.operand) : "", c.memory);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineOneInstruction, ::testing::ValuesIn(kExecuteCases));

struct PhaseCase {
  int opCode;
  const char* decoder;  // green after T2
  const char* lamps;    // the transfers lit after T4, T5, T6, T7, T0
};
void PrintTo(const PhaseCase& c, std::ostream* os) { *os << "op code " << c.opCode; }

class EnginePhases : public Engine, public ::testing::WithParamInterface<PhaseCase> {};

// T2 lights the op code's decoder cell and the phase cells of the phases it acts in. With
// the automatic clock running and no stop requested, every op code leaves the run controls
// alone except at INPUT's wait; the lamps come and go in their phases.
TEST_P(EnginePhases, DecoderLampsAndControlsPhaseByPhase) {
  const PhaseCase& c = GetParam();
  rexec().Stop_For_Output.setValue(0);
  poke(0, c.opCode, 31);
  startAt(0);
  step();
  pulse(2);
  EXPECT_EQ(greenCells(), c.decoder);
  pulse();
  std::string lamps;
  for (int phase = 4; phase <= 8; ++phase) {
    pulse();
    const std::string where = "after T" + std::to_string(phase % 8);
    lamps += litLamps() + "/";
    EXPECT_EQ(clockCells(), std::string(8, '0').replace(phase % 8, 1, "1")) << where;
    if (c.opCode == 3 && phase == 6) {  // INPUT waits: a stray pulse repeats T6
      EXPECT_EQ(runControls(), "pause view");
      pulse();
      EXPECT_EQ(clockCells(), "00000010");
      click(rexec().Command_Input_Window_OK);
      continue;
    }
    EXPECT_EQ(runControls(), "pause view timer") << where;
    EXPECT_EQ(view().atInstructionBoundary(), phase == 8) << where;
  }
  EXPECT_EQ(lamps, c.lamps);
  pulse(2);  // T2 of the next instruction, ADD 0, clears every cell of this one
  EXPECT_EQ(greenCells(), "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)");
}

// Op codes 0 to 7: ADD, LOAD, STORE, INPUT, OUTPUT, BRANCH, BR Neg (not taken), BR NNeg (taken).
const PhaseCase kPhaseCases[] = {
    {0, "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)", "IR>AR/M>Y/S>X/X+Y>S//"},
    {1, "SHAPEID(2) SHAPET4(1) shapet5(1)", "IR>AR/M>S////"},
    {2, "SHAPEID(3) SHAPET4(2) shapet5(2)", "IR>AR/S>M////"},
    {3, "SHAPEID(4) SHAPET4(3) shapet6(1) shapet7(1)", "IR>AR//STOP/IN>S//"},
    {4, "SHAPEID(5) SHAPET4(4) shapet5(3) shapet6(2)", "IR>AR/S>OUT/STOP///"},
    {5, "SHAPEID(6) SHAPET4(5)", "IR>PC/////"},
    {6, "SHAPEID(7) SHAPET4(6)", "/////"},
    {7, "SHAPEID(8) SHAPET4(8)", "IR>PC/////"},
};

INSTANTIATE_TEST_SUITE_P(Engine, EnginePhases, ::testing::ValuesIn(kPhaseCases));

TEST_F(Engine, StoreChangesOnlyTheEightCellsOfItsByte) {
  for (int a = 1; a < 32; ++a) poke(a, "01x11010");
  fetch(0, 2, 17, 0xC3);
  const std::string word = lit(rexec().Register_Memory, ui::kRed);
  pulse(2);  // T4, T5
  EXPECT_EQ(memoryBits(0), "01010001");
  for (int a = 1; a < 32; ++a) EXPECT_EQ(memoryBits(a), a == 17 ? "11000011" : "01x11010") << a;
  EXPECT_EQ(input().Shape1(0).FillColor(), ui::kWhite);
  EXPECT_EQ(view().s(), 195);
  EXPECT_EQ(lit(rexec().Register_Memory, ui::kRed), word);
}

}  // namespace
}  // namespace volpar::testing
