#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/machine_fixture.h"

namespace volpar::testing {
namespace {

using ui::kRed;
using ui::kWhite;
using ui::kYellow;

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

// --- T3: the program counter -------------------------------------------------------

struct IncrementCase {
  int from;
  const char* caption;
  const char* cells;
};
void PrintTo(const IncrementCase& c, std::ostream* os) { *os << "PC " << c.from; }

class EngineIncrement : public EngineExecute, public ::testing::WithParamInterface<IncrementCase> {};

TEST_P(EngineIncrement, T3CountsOnAndWrapsAtThirtyOne) {
  const IncrementCase& c = GetParam();
  const int next = (c.from + 1) % 32;
  putByte(next, "11000011");
  fetch(c.from, 1, 0);
  EXPECT_EQ(pc(), c.caption);
  EXPECT_EQ(pcBits(), c.cells);
  EXPECT_EQ(memoryWordBits(), "11000011");
  EXPECT_EQ(clockCells(), "00010000");
  EXPECT_EQ(manual.Clock_Phase, 4);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineIncrement,
                         ::testing::Values(IncrementCase{5, "6", "00110"},
                                           IncrementCase{30, "31", "11111"},
                                           IncrementCase{31, "0", "00000"},
                                           IncrementCase{0, "1", "00001"}));

TEST_F(EngineExecute, T4CopiesTheAddressFieldIntoAR) {
  fetch(0, 1, 17);
  pulse();
  EXPECT_EQ(litLamps(), "shape_irar");
  EXPECT_EQ(arBits(), "10001");
  EXPECT_EQ(ar(), "17");
  EXPECT_EQ(pc(), "1");
  EXPECT_EQ(manual.Clock_Phase, 5);
}

// --- T4: branches ---------------------------------------------------------------------

struct BranchCase {
  const char* what;
  int at;
  int opCode;
  int target;
  int s;
  bool taken;
  const char* pcAfter;
};
void PrintTo(const BranchCase& c, std::ostream* os) { *os << c.what; }

class EngineBranch : public EngineExecute, public ::testing::WithParamInterface<BranchCase> {};

TEST_P(EngineBranch, T4TakesTheBranchOnlyWhenItsConditionHolds) {
  const BranchCase& c = GetParam();
  putByte((c.at + 1) % 32, "01010101");
  fetch(c.at, c.opCode, c.target, c.s);
  pulse();  // T4
  EXPECT_EQ(pc(), c.pcAfter) << c.what;
  EXPECT_EQ(litLamps(), c.taken ? "shape_irpc" : "") << c.what;
  EXPECT_EQ(ar(), std::to_string(c.at)) << c.what << ": AR keeps the branch's own address";
  EXPECT_EQ(memoryWordBits(), "01010101") << c.what;
  EXPECT_EQ(manual.Clock_Phase, 5);

  pulses(4);  // T5 to T0: the branch does nothing more
  EXPECT_EQ(pc(), c.pcAfter) << c.what;
  EXPECT_EQ(s(), std::to_string(c.s));
  EXPECT_EQ(litLamps(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineBranch,
    ::testing::Values(
        BranchCase{"BRANCH to 9 from 4", 4, 5, 9, 0, true, "9"},
        BranchCase{"BR Neg, S 127", 3, 6, 0, 127, false, "4"},
        BranchCase{"BR Neg, S 128", 3, 6, 0, 128, true, "0"},
        BranchCase{"BR NNeg, S 0", 3, 7, 0, 0, true, "0"},
        BranchCase{"BR NNeg, S 200", 3, 7, 0, 200, false, "4"},
        BranchCase{"BR Neg at 31 not taken", 31, 6, 7, 5, false, "0"},
        BranchCase{"BR NNeg at 31 taken", 31, 7, 7, 5, true, "7"},
        BranchCase{"BRANCH to itself", 12, 5, 12, 0, true, "12"}));

TEST_F(EngineExecute, BranchToNineWritesThePCCells) {
  fetch(4, 5, 9);
  pulse();
  EXPECT_EQ(pcBits(), "01001");
}

// --- Every op code through T4 to T0 ---------------------------------------------------

struct PhaseCase {
  const char* what;
  int opCode;
  std::array<const char*, 5> lamps;  // after T4, T5, T6, T7, T0
};
void PrintTo(const PhaseCase& c, std::ostream* os) { *os << c.what; }

class EnginePhases : public EngineExecute, public ::testing::WithParamInterface<PhaseCase> {};

// In automatic mode with the clock running and no stop requested, every phase of every
// op code leaves the run controls alone except INPUT's T6; the lamps come and go in
// their phases.
TEST_P(EnginePhases, LampsAndControlsPhaseByPhase) {
  const PhaseCase& c = GetParam();
  setAutomatic();
  setStopForOutput(false);
  putInstruction(0, c.opCode, 20);
  startAt(0);
  runAutomatically();
  pulses(3);
  for (int phase = 4; phase <= 8; ++phase) {
    pulse();
    const std::string where = std::string(c.what) + " after T" + std::to_string(phase % 8);
    EXPECT_EQ(litLamps(), c.lamps[static_cast<std::size_t>(phase - 4)]) << where;
    EXPECT_EQ(clockCells(), std::string(8, '0').replace(phase % 8, 1, "1")) << where;
    if (c.opCode == 3 && phase == 6) {
      EXPECT_EQ(manual.Clock_Phase, 6) << where;
      EXPECT_EQ(runControls(), "pause view") << where;
      manual.Clock_Phase = 7;  // the input window's OK
      rexec.Timer1.setEnabled(true);
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

// --- ADD --------------------------------------------------------------------------------

struct AddCase {
  int s;
  int memory;
  const char* sum;
  const char* sumBits;
  bool negative;
};
void PrintTo(const AddCase& c, std::ostream* os) { *os << c.s << " + " << c.memory; }

class EngineAdd : public EngineExecute, public ::testing::WithParamInterface<AddCase> {};

TEST_P(EngineAdd, AddsMemoryToSModulo256) {
  const AddCase& c = GetParam();
  putValue(10, c.memory);
  fetch(0, 0, 10, c.s);
  pulses(2);  // T4, T5
  EXPECT_EQ(y(), std::to_string(c.memory));
  EXPECT_EQ(yBits(), memoryBits(10));
  pulse();  // T6
  EXPECT_EQ(x(), std::to_string(c.s));
  EXPECT_EQ(xBits(), sBits());
  pulse();  // T7
  EXPECT_EQ(s(), c.sum);
  EXPECT_EQ(sBits(), c.sumBits);
  EXPECT_EQ(negativeFlag(), c.negative);
  EXPECT_EQ(manual.Clock_Phase, 0);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineAdd,
                         ::testing::Values(AddCase{200, 100, "44", "00101100", false},
                                           AddCase{100, 50, "150", "10010110", true},
                                           AddCase{128, 128, "0", "00000000", false},
                                           AddCase{255, 255, "254", "11111110", true},
                                           AddCase{0, 0, "0", "00000000", false},
                                           AddCase{1, 127, "128", "10000000", true}));

// --- LOAD and STORE -------------------------------------------------------------------

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
  for (int a = 0; a < 32; ++a) putValue(a, 0x5A);
  fetch(0, 2, 17, 0xC3);
  const std::string word = memoryWordBits();
  std::array<ui::Color, 257> before{};
  for (int i = 0; i <= 256; ++i) before[static_cast<std::size_t>(i)] = input.Shape1(i).FillColor();

  pulses(2);  // T4, T5

  EXPECT_EQ(litLamps(), "Shapetm");
  EXPECT_EQ(memoryBits(17), "11000011");
  for (int i = 0; i <= 256; ++i) {
    if (i >= 8 * 17 + 1 && i <= 8 * 17 + 8) continue;
    EXPECT_EQ(input.Shape1(i).FillColor(), before[static_cast<std::size_t>(i)]) << "cell " << i;
  }
  EXPECT_EQ(s(), "195");
  EXPECT_EQ(memoryWordBits(), word);
}

// --- INPUT ------------------------------------------------------------------------------

class EngineInput : public EngineExecute {
 protected:
  // Runs an INPUT up to its wait at T6; S holds 77 before it.
  void waitForInput() {
    fetch(0, 3, 4, 77);
    pulses(3);  // T4, T5, T6
  }
  // Sets a bit box's text as it stands, without the window's checks.
  void forceBitBox(int j, const std::string& text) {
    ui::TextBox& box = rexec.Input_bit(j);
    auto handler = std::exchange(box.onChange, nullptr);
    box.setText(text);
    box.onChange = std::move(handler);
  }
  // The input window's OK: the next pulse performs T7.
  void confirm() { manual.Clock_Phase = 7; }
};

TEST_F(EngineInput, T6WaitsWithTheInputWindowOpen) {
  setAutomatic();
  startAt(0);
  runAutomatically();
  putInstruction(0, 3, 4);
  pulses(6);
  EXPECT_EQ(manual.Clock_Phase, 6);
  EXPECT_EQ(litLamps(), "Shape_Stop");
  EXPECT_EQ(clockCells(), "00000010");
  EXPECT_TRUE(rexec.Input_Window.enabled());
  EXPECT_TRUE(rexec.Command_Input_Window_OK.enabled());
  EXPECT_TRUE(rexec.Command_Input_Window_OK.Default());
  EXPECT_EQ(rexec.Command_Input_Window_OK.Caption(), "&Resume");
  for (int j = 1; j <= 8; ++j) EXPECT_TRUE(rexec.Input_bit(j).enabled()) << j;
  EXPECT_EQ(runControls(), "pause view");

  pulse();  // a stray pulse would perform T6 again, never T7
  EXPECT_EQ(manual.Clock_Phase, 6);
}

TEST_F(EngineInput, ManualModeCaptionsTheWindowButtonStep) {
  setManual();
  waitForInput();
  EXPECT_EQ(rexec.Command_Input_Window_OK.Caption(), "&Step");
  EXPECT_EQ(runControls(), "view");
}

struct InputCase {
  const char* what;
  std::array<const char*, 8> boxes;
  const char* sBits;
  const char* s;
  bool negative;
};
void PrintTo(const InputCase& c, std::ostream* os) { *os << c.what; }

class EngineInputValues : public EngineInput, public ::testing::WithParamInterface<InputCase> {};

TEST_P(EngineInputValues, T7CopiesTheBitBoxesIntoS) {
  const InputCase& c = GetParam();
  waitForInput();
  for (int j = 1; j <= 8; ++j) forceBitBox(j, c.boxes[static_cast<std::size_t>(j - 1)]);
  confirm();
  pulse();
  EXPECT_EQ(sBits(), c.sBits) << c.what;
  EXPECT_EQ(s(), c.s) << c.what;
  EXPECT_EQ(negativeFlag(), c.negative) << c.what;
  EXPECT_EQ(litLamps(), "Shapeit");
  EXPECT_FALSE(rexec.Input_Window.enabled());
  EXPECT_FALSE(rexec.Command_Input_Window_OK.enabled());
  for (int j = 1; j <= 8; ++j) EXPECT_FALSE(rexec.Input_bit(j).Text().empty()) << j;
  EXPECT_EQ(manual.Clock_Phase, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineInputValues,
    ::testing::Values(
        InputCase{"all 0", {"0", "0", "0", "0", "0", "0", "0", "0"}, "00000000", "0", false},
        InputCase{"129", {"1", "0", "0", "0", "0", "0", "0", "1"}, "10000001", "129", true},
        InputCase{"empty boxes read 0", {"", "1", "", "0", "", "0", "", "1"}, "01000001", "65",
                  false},
        InputCase{"only a whole 1 is a 1", {"1a", "10", "01", " 1", "1.0", "2", "11", "1"},
                  "00111001", "57", false}));

TEST_F(EngineInput, EmptyBoxShowsZeroAfterT7) {
  waitForInput();
  forceBitBox(3, "");
  confirm();
  pulse();
  EXPECT_EQ(rexec.Input_bit(3).Text(), "0");
}

TEST_F(EngineInput, TheBoxesKeepTheirBitsForTheNextInput) {
  putInstruction(1, 3, 4);
  waitForInput();
  forceBitBox(2, "1");
  confirm();
  runInstruction();
  pulses(6);  // T1 to T6 of the second INPUT
  EXPECT_EQ(manual.Clock_Phase, 6);
  EXPECT_EQ(rexec.Input_bit(2).Text(), "1");
}

// --- OUTPUT -----------------------------------------------------------------------------

TEST_F(EngineExecute, OutputCopiesSAndItsCaptionTextUnchanged) {
  fetch(0, 4, 0, 150);
  pulses(2);
  EXPECT_EQ(outputBits(), "10010110");
  EXPECT_EQ(output(), "150");
  EXPECT_EQ(litLamps(), "Shapeto");
}

struct OutputStopCase {
  const char* what;
  bool manualMode;
  bool stopTicked;
  const char* controlsAfterT6;
};
void PrintTo(const OutputStopCase& c, std::ostream* os) { *os << c.what; }

class EngineOutputStop : public EngineExecute,
                         public ::testing::WithParamInterface<OutputStopCase> {};

TEST_P(EngineOutputStop, StopsOnlyTheAutomaticClockWithStopForOutputTicked) {
  const OutputStopCase& c = GetParam();
  if (c.manualMode) setManual(); else setAutomatic();
  setStopForOutput(c.stopTicked);
  putInstruction(0, 4, 0);
  startAt(0);
  if (!c.manualMode) runAutomatically();
  pulses(6);
  EXPECT_EQ(runControls(), c.controlsAfterT6) << c.what;
  EXPECT_EQ(litLamps(), "Shape_Stop") << c.what;
  EXPECT_EQ(manual.Clock_Phase, 7) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineOutputStop,
    ::testing::Values(OutputStopCase{"automatic, ticked", false, true, "resume view"},
                      OutputStopCase{"automatic, not ticked", false, false, "pause view timer"},
                      OutputStopCase{"manual, ticked", true, true, "step view"},
                      OutputStopCase{"manual, not ticked", true, false, "step view"}));

}  // namespace
}  // namespace volpar::testing
