#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class EngineExecute : public ScreensFixture {
 protected:
  // Puts `opCode address` at `at`, starts there with S holding `sValue` (cells and caption,
  // as a finished LOAD leaves them) and runs T1 to T3.
  void fetch(int at, int opCode, int address, int sValue = 0) {
    poke(at, opCode, address);
    startAt(at);
    rexec().Register_S_Decimal.setCaption(std::to_string(sValue));
    for (int j = 8; j >= 1; --j, sValue /= 2) {
      rexec().Shapet(j).setFillColor(sValue % 2 ? ui::kRed : ui::kWhite);
    }
    pulse(3);
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

// T4 sets the PC, caption and cells, and nothing else: AR keeps the branch's own address.
TEST_P(EngineBranch, T4TakesTheBranchOnlyWhenItsConditionHolds) {
  const BranchCase& c = GetParam();
  fetch(c.at, c.opCode, c.target, c.s);
  pulse();  // T4
  EXPECT_EQ(litLamps(), c.taken ? "shape_irpc" : "");
  pulse(4);  // T5 to T0: the branch does nothing more
  EXPECT_EQ(registers(), "PC " + std::to_string(c.pcAfter) + " AR " + std::to_string(c.at) +
                             " IR " + std::to_string(c.opCode * 32 + c.target) + " X 0 Y 0 S " +
                             std::to_string(c.s) + " OUT 0");
  EXPECT_EQ(litLamps(), "");
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineBranch,
                         ::testing::Values(BranchCase{"BRANCH to 9 from 4", 4, 5, 9, 0, true, 9},
                                           BranchCase{"BR Neg, S 127", 3, 6, 0, 127, false, 4},
                                           BranchCase{"BR Neg, S 128", 3, 6, 0, 128, true, 0},
                                           BranchCase{"BR NNeg, S 0", 3, 7, 0, 0, true, 0},
                                           BranchCase{"BR NNeg, S 200", 3, 7, 0, 200, false, 4},
                                           BranchCase{"BR Neg at 31 not taken", 31, 6, 7, 5, false,
                                                      0},
                                           BranchCase{"BR NNeg at 31 taken", 31, 7, 7, 5, true, 7},
                                           BranchCase{"BRANCH to itself", 12, 5, 12, 0, true, 12}));

struct PhaseCase {
  const char* what;
  int opCode;
  const char* decoder;               // green after T2
  std::array<const char*, 5> lamps;  // after T4, T5, T6, T7, T0
};
void PrintTo(const PhaseCase& c, std::ostream* os) { *os << c.what; }

class EnginePhases : public EngineExecute, public ::testing::WithParamInterface<PhaseCase> {};

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
  EXPECT_EQ(rexec().IR_Address_Decimal.Caption(), "31");
  EXPECT_FALSE(negativeFlag());
  pulse();
  for (int phase = 4; phase <= 8; ++phase) {
    pulse();
    const std::string where = "after T" + std::to_string(phase % 8);
    EXPECT_EQ(litLamps(), c.lamps[static_cast<std::size_t>(phase - 4)]) << where;
    EXPECT_EQ(clockCells(), std::string(8, '0').replace(phase % 8, 1, "1")) << where;
    if (c.opCode == 3 && phase == 6) {  // INPUT waits: a stray pulse repeats T6
      EXPECT_EQ(runControls(), "pause view");
      pulse();
      EXPECT_EQ(view().phase(), 6);
      EXPECT_EQ(clockCells(), "00000010");
      click(rexec().Command_Input_Window_OK);
      continue;
    }
    EXPECT_EQ(view().phase(), (phase + 1) % 8) << where;
    EXPECT_EQ(runControls(), "pause view timer") << where;
    EXPECT_EQ(view().atInstructionBoundary(), phase == 8) << where;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EnginePhases,
    ::testing::Values(
        PhaseCase{"ADD",
                  0,
                  "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)",
                  {"shape_irar", "Shapemy", "Shapetx", "Shapexyt", ""}},
        PhaseCase{
            "LOAD", 1, "SHAPEID(2) SHAPET4(1) shapet5(1)", {"shape_irar", "shapemt", "", "", ""}},
        PhaseCase{
            "STORE", 2, "SHAPEID(3) SHAPET4(2) shapet5(2)", {"shape_irar", "Shapetm", "", "", ""}},
        PhaseCase{"INPUT",
                  3,
                  "SHAPEID(4) SHAPET4(3) shapet6(1) shapet7(1)",
                  {"shape_irar", "", "Shape_Stop", "Shapeit", ""}},
        PhaseCase{"OUTPUT",
                  4,
                  "SHAPEID(5) SHAPET4(4) shapet5(3) shapet6(2)",
                  {"shape_irar", "Shapeto", "Shape_Stop", "", ""}},
        PhaseCase{"BRANCH", 5, "SHAPEID(6) SHAPET4(5)", {"shape_irpc", "", "", "", ""}},
        PhaseCase{"BR Neg, not taken", 6, "SHAPEID(7) SHAPET4(6)", {"", "", "", "", ""}},
        PhaseCase{"BR NNeg, taken", 7, "SHAPEID(8) SHAPET4(8)", {"shape_irpc", "", "", "", ""}}));

// Black ("x") operand bits read as 0.
struct AddCase {
  int s;
  const char* memory;
  int sum;
  bool negative;
};
void PrintTo(const AddCase& c, std::ostream* os) { *os << c.s << " + " << c.memory; }

class EngineAdd : public EngineExecute, public ::testing::WithParamInterface<AddCase> {};

TEST_P(EngineAdd, AddsMemoryToSModulo256) {
  const AddCase& c = GetParam();
  poke(10, c.memory);
  fetch(0, 0, 10, c.s);
  std::string y = c.memory;
  for (char& b : y) b = b == 'x' ? '0' : b;
  pulse(4);  // T4 to T7
  EXPECT_EQ(registers(), "PC 1 AR 10 IR 10 X " + std::to_string(c.s) + " Y " +
                             std::to_string(std::stoi(y, nullptr, 2)) + " S " +
                             std::to_string(c.sum) + " OUT 0");
  EXPECT_EQ(negativeFlag(), c.negative);
  EXPECT_EQ(memoryBits(10), c.memory);
}

INSTANTIATE_TEST_SUITE_P(Engine, EngineAdd,
                         ::testing::Values(AddCase{200, "01100100", 44, false},
                                           AddCase{100, "00110010", 150, true},
                                           AddCase{128, "10000000", 0, false},
                                           AddCase{255, "11111111", 254, true},
                                           AddCase{1, "x1x1111x", 95, false}));

TEST_F(EngineExecute, StoreChangesOnlyTheEightCellsOfItsByte) {
  for (int a = 1; a < 32; ++a) poke(a, "01x11010");
  fetch(0, 2, 17, 0xC3);
  const std::string word = lit(rexec().Register_Memory, ui::kRed);
  pulse(2);  // T4, T5
  EXPECT_EQ(litLamps(), "Shapetm");
  EXPECT_EQ(memoryBits(0), "01010001");
  for (int a = 1; a < 32; ++a) EXPECT_EQ(memoryBits(a), a == 17 ? "11000011" : "01x11010") << a;
  EXPECT_EQ(input().Shape1(0).FillColor(), ui::kWhite);
  EXPECT_EQ(view().s(), 195);
  EXPECT_EQ(lit(rexec().Register_Memory, ui::kRed), word);
}

}  // namespace
}  // namespace volpar::testing
