// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class EngineTable : public ScreensFixture, public ::testing::WithParamInterface<Row> {
 protected:
  int number(int field) { return std::stoi(GetParam()[field]); }
  const std::string& field(int field) { return GetParam()[field]; }
};

// One instruction (op code, operand) at an address from T1 to T0, S set beforehand: the lamps lit
// at T4, then the registers and the negative flag at T0 (tests/data/engine/execute.txt).
using EngineOneInstruction = EngineTable;
TEST_P(EngineOneInstruction, BranchesAndAdditionsEndWithTheRightRegisters) {
  const std::string memory = field(4) == "-" ? "" : field(4);
  if (!memory.empty()) poke(number(2), memory);
  poke(number(0), number(1), number(2)), startAt(number(0));
  // S as a finished LOAD leaves it, cells and caption.
  rexec().Register_S_Decimal.setCaption(field(3));
  for (int j = 8, s = number(3); j >= 1; --j, s /= 2)
    rexec().Shapet(j).setFillColor(s % 2 ? ui::kRed : ui::kWhite);
  pulse(4);  // T1 to T4
  const std::string lamps = litLamps();
  pulse(4);  // T5 to T0
  EXPECT_EQ((lamps.empty() ? "-" : lamps) + " | " + registers() + (negativeFlag() ? " neg" : ""),
            field(5));
  EXPECT_EQ(memory.empty() ? "" : memoryBits(number(2)), memory);
}
INSTANTIATE_TEST_SUITE_P(Engine, EngineOneInstruction,
                         ::testing::ValuesIn(readTable("engine/execute.txt")));

// T2 lights the op code's decoder cell and the phase cells of the phases it acts in. With
// the automatic clock running and no stop requested, every op code leaves the run controls
// alone except at INPUT's wait; the lamps come and go in their phases
// (tests/data/engine/phases.txt).
using EnginePhases = EngineTable;
TEST_P(EnginePhases, DecoderLampsAndControlsPhaseByPhase) {
  const int opCode = number(0);
  rexec().Stop_For_Output.setValue(0), poke(0, opCode, 31), startAt(0), step(), pulse(2);
  EXPECT_EQ(greenCells(), field(1));
  pulse();
  std::string lamps;
  for (int phase = 4; phase <= 8; ++phase) {
    pulse();
    const std::string where = "after T" + std::to_string(phase % 8);
    lamps += litLamps() + "/";
    EXPECT_EQ(clockCells(), std::string(8, '0').replace(phase % 8, 1, "1")) << where;
    if (opCode == 3 && phase == 6) {  // INPUT waits: a stray pulse repeats T6
      EXPECT_EQ(runControls(), "pause view");
      pulse();
      EXPECT_EQ(clockCells(), "00000010");
      click(rexec().Command_Input_Window_OK);
      continue;
    }
    EXPECT_EQ(runControls(), "pause view timer") << where;
    EXPECT_EQ(view().atInstructionBoundary(), phase == 8) << where;
  }
  EXPECT_EQ(lamps, field(2));
  pulse(2);  // T2 of the next instruction, ADD 0, clears every cell of this one
  EXPECT_EQ(greenCells(), "SHAPEID(1) SHAPET4(0) shapet5(0) shapet6(0) shapet7(0)");
}
INSTANTIATE_TEST_SUITE_P(Engine, EnginePhases, ::testing::ValuesIn(readTable("engine/phases.txt")));

}  // namespace
}  // namespace volpar::testing
