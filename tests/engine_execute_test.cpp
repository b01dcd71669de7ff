#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "support/machine_fixture.h"

namespace volpar::testing {
namespace {

class EngineExecute : public MachineFixture {
 protected:
  // Puts `opCode address` at `at`, starts there with S holding `sValue` and runs T1
  // to T3.
  void fetch(int at, int opCode, int address, int sValue = 0) {
    putInstruction(at, opCode, address);
    startAt(at);
    setS(sValue);
    pulses(3);
  }
};

struct BranchCase {
  const char* what;
  int at, opCode, target, s;
  bool taken;
  int pcAfter;
};
void PrintTo(const BranchCase& c, std::ostream* os) { *os << c.what; }

class EngineBranch : public EngineExecute, public ::testing::WithParamInterface<BranchCase> {};

TEST_P(EngineBranch, T4TakesTheBranchOnlyWhenItsConditionHolds) {
  const BranchCase& c = GetParam();
  putByte((c.at + 1) % 32, "01010101");
  fetch(c.at, c.opCode, c.target, c.s);
  pulse();  // T4
  EXPECT_EQ(pc(), std::to_string(c.pcAfter)) << c.what;
  EXPECT_EQ(pcBits(), toBits(c.pcAfter, 5)) << c.what;
  EXPECT_EQ(litLamps(), c.taken ? "shape_irpc" : "") << c.what;
  EXPECT_EQ(ar(), std::to_string(c.at)) << c.what << ": AR keeps the branch's own address";
  EXPECT_EQ(memoryWordBits(), "01010101") << c.what << ": T3 fetched the next byte";
  EXPECT_EQ(manual.Clock_Phase, 5);

  pulses(4);  // T5 to T0: the branch does nothing more
  EXPECT_EQ(pc(), std::to_string(c.pcAfter)) << c.what;
  EXPECT_EQ(s(), std::to_string(c.s));
  EXPECT_EQ(litLamps(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineBranch,
    ::testing::Values(BranchCase{"BRANCH to 9 from 4", 4, 5, 9, 0, true, 9},
                      BranchCase{"BR Neg, S 127", 3, 6, 0, 127, false, 4},
                      BranchCase{"BR Neg, S 128", 3, 6, 0, 128, true, 0},
                      BranchCase{"BR NNeg, S 0", 3, 7, 0, 0, true, 0},
                      BranchCase{"BR NNeg, S 200", 3, 7, 0, 200, false, 4},
                      BranchCase{"BR Neg at 31 not taken", 31, 6, 7, 5, false, 0},
                      BranchCase{"BR NNeg at 31 taken", 31, 7, 7, 5, true, 7},
                      BranchCase{"BRANCH to itself", 12, 5, 12, 0, true, 12}));

struct PhaseCase {
  const char* what;
  int opCode;
  std::array<const char*, 5> lamps;  // after T4, T5, T6, T7, T0
};
void PrintTo(const PhaseCase& c, std::ostream* os) { *os << c.what; }

class EnginePhases : public EngineExecute, public ::testing::WithParamInterface<PhaseCase> {};

// With the automatic clock running and no stop requested, every op code leaves the run
// controls alone except at INPUT's wait; the lamps come and go in their phases.
TEST_P(EnginePhases, LampsAndControlsPhaseByPhase) {
  const PhaseCase& c = GetParam();
  setStopForOutput(false);
  putInstruction(0, c.opCode, 20);
  startAt(0);
  rexec.Command_Begin_Step.click();
  pulses(3);
  for (int phase = 4; phase <= 8; ++phase) {
    pulse();
    const std::string where = std::string(c.what) + " after T" + std::to_string(phase % 8);
    EXPECT_EQ(litLamps(), c.lamps[static_cast<std::size_t>(phase - 4)]) << where;
    EXPECT_EQ(clockCells(), std::string(8, '0').replace(phase % 8, 1, "1")) << where;
    if (c.opCode == 3 && phase == 6) {
      EXPECT_EQ(manual.Clock_Phase, 6) << where;
      EXPECT_EQ(runControls(), "pause view") << where;
      rexec.Command_Input_Window_OK.click();
      continue;
    }
    EXPECT_EQ(manual.Clock_Phase, (phase + 1) % 8) << where;
    EXPECT_EQ(runControls(), "pause view timer") << where;
    EXPECT_EQ(manual.At_Phase_Zero, phase == 8) << where;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EnginePhases,
    ::testing::Values(
        PhaseCase{"ADD", 0, {"shape_irar", "Shapemy", "Shapetx", "Shapexyt", ""}},
        PhaseCase{"LOAD", 1, {"shape_irar", "shapemt", "", "", ""}},
        PhaseCase{"STORE", 2, {"shape_irar", "Shapetm", "", "", ""}},
        PhaseCase{"INPUT", 3, {"shape_irar", "", "Shape_Stop", "Shapeit", ""}},
        PhaseCase{"OUTPUT", 4, {"shape_irar", "Shapeto", "Shape_Stop", "", ""}},
        PhaseCase{"BRANCH", 5, {"shape_irpc", "", "", "", ""}},
        PhaseCase{"BR Neg, not taken", 6, {"", "", "", "", ""}},
        PhaseCase{"BR NNeg, taken", 7, {"shape_irpc", "", "", "", ""}}));

struct AddCase {
  int s, memory, sum;
  bool negative;
};
void PrintTo(const AddCase& c, std::ostream* os) { *os << c.s << " + " << c.memory; }

class EngineAdd : public EngineExecute, public ::testing::WithParamInterface<AddCase> {};

TEST_P(EngineAdd, AddsMemoryToSModulo256) {
  const AddCase& c = GetParam();
  putValue(10, c.memory);
  fetch(0, 0, 10, c.s);
  pulses(2);  // T4, T5
  EXPECT_EQ(rexec.Register_Y_Decimal.Caption(), std::to_string(c.memory));
  EXPECT_EQ(bits(rexec.shapey, ui::kRed), memoryBits(10));
  pulse();  // T6
  EXPECT_EQ(rexec.Register_X_Decimal.Caption(), std::to_string(c.s));
  EXPECT_EQ(bits(rexec.Shape_x, ui::kRed), sBits());
  pulse();  // T7
  EXPECT_EQ(s(), std::to_string(c.sum));
  EXPECT_EQ(sBits(), toBits(c.sum, 8));
  EXPECT_EQ(negativeFlag(), c.negative);
  EXPECT_EQ(manual.Clock_Phase, 0);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineAdd,
                         ::testing::Values(AddCase{200, 100, 44, false}, AddCase{100, 50, 150, true},
                                           AddCase{128, 128, 0, false}, AddCase{255, 255, 254, true},
                                           AddCase{1, 127, 128, true}));

TEST_F(EngineExecute, LoadReadsBlackMemoryBitsAsZero) {
  putByte(9, "1x1x1x11");
  fetch(0, 1, 9);
  pulses(2);
  EXPECT_EQ(sBits(), "10101011");
  EXPECT_EQ(s(), "171");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(memoryBits(9), "1x1x1x11");
}

TEST_F(EngineExecute, StoreChangesOnlyTheEightCellsOfItsByte) {
  for (int a = 1; a < 32; ++a) putByte(a, "01x11010");
  fetch(0, 2, 17, 0xC3);
  const std::string word = memoryWordBits();
  pulses(2);  // T4, T5
  EXPECT_EQ(litLamps(), "Shapetm");
  EXPECT_EQ(memoryBits(0), "01010001");
  for (int a = 1; a < 32; ++a) EXPECT_EQ(memoryBits(a), a == 17 ? "11000011" : "01x11010") << a;
  EXPECT_EQ(input.Shape1(0).FillColor(), ui::kWhite);
  EXPECT_EQ(s(), "195");
  EXPECT_EQ(memoryWordBits(), word);
}

// INPUT waits at T6 with the window open; a stray pulse repeats T6; after the window's
// button the next pulse performs T7, which copies the typed value into S.
struct InputCase {
  bool manualMode;
  const char* buttonCaption;
  const char* controlsWhileWaiting;
  const char* typed;
  bool negative;
};
void PrintTo(const InputCase& c, std::ostream* os) { *os << c.typed; }

class EngineInput : public EngineExecute, public ::testing::WithParamInterface<InputCase> {};

TEST_P(EngineInput, T6WaitsForTheInputWindowAndT7CopiesItsValueIntoS) {
  const InputCase& c = GetParam();
  if (c.manualMode) setManual();
  putInstruction(0, 3, 4);
  startAt(0);
  if (!c.manualMode) rexec.Command_Begin_Step.click();
  pulses(6);
  EXPECT_EQ(manual.Clock_Phase, 6);
  EXPECT_EQ(litLamps(), "Shape_Stop");
  EXPECT_EQ(clockCells(), "00000010");
  EXPECT_TRUE(rexec.Input_Window.enabled());
  EXPECT_TRUE(rexec.Command_Input_Window_OK.enabled());
  EXPECT_TRUE(rexec.Command_Input_Window_OK.Default());
  EXPECT_EQ(rexec.Command_Input_Window_OK.Caption(), c.buttonCaption);
  for (int j = 1; j <= 8; ++j) EXPECT_TRUE(rexec.Input_bit(j).usable()) << j;
  EXPECT_EQ(runControls(), c.controlsWhileWaiting);
  pulse();
  EXPECT_EQ(manual.Clock_Phase, 6);

  rexec.Text_Input_Decimal.type(c.typed, 3);
  rexec.Command_Input_Window_OK.click();
  pulse();
  EXPECT_EQ(sBits(), toBits(std::stoi(c.typed), 8));
  EXPECT_EQ(s(), c.typed);
  EXPECT_EQ(negativeFlag(), c.negative);
  EXPECT_EQ(litLamps(), "Shapeit");
  EXPECT_FALSE(rexec.Input_Window.enabled());
  EXPECT_FALSE(rexec.Command_Input_Window_OK.enabled());
  EXPECT_EQ(manual.Clock_Phase, 0);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineInput,
                         ::testing::Values(InputCase{false, "&Resume", "pause view", "129", true},
                                           InputCase{true, "&Step", "view", "65", false}));

// OUTPUT copies S at T5; its T6 stops only the automatic clock, and only when
// "Stop for Output" is ticked.
struct OutputCase {
  bool manualMode, stopTicked;
  const char* controlsAfterT6;
};
void PrintTo(const OutputCase& c, std::ostream* os) {
  *os << (c.manualMode ? "manual" : "automatic") << (c.stopTicked ? ", ticked" : "");
}

class EngineOutput : public EngineExecute, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(EngineOutput, CopiesSAndStopsOnlyTheAutomaticClockWhenTicked) {
  const OutputCase& c = GetParam();
  if (c.manualMode) setManual();
  setStopForOutput(c.stopTicked);
  fetch(0, 4, 0, 150);
  if (!c.manualMode) rexec.Command_Begin_Step.click();
  pulses(2);
  EXPECT_EQ(bits(rexec.Shapeo, ui::kRed), "10010110");
  EXPECT_EQ(rexec.Register_Output_Decimal.Caption(), "150");
  EXPECT_EQ(litLamps(), "Shapeto");
  pulse();
  EXPECT_EQ(runControls(), c.controlsAfterT6);
  EXPECT_EQ(litLamps(), "Shape_Stop");
  EXPECT_EQ(manual.Clock_Phase, 7);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineOutput,
                         ::testing::Values(OutputCase{false, true, "resume view"},
                                           OutputCase{false, false, "pause view timer"},
                                           OutputCase{true, true, "step view"},
                                           OutputCase{true, false, "step view"}));

}  // namespace
}  // namespace volpar::testing
