#include <gtest/gtest.h>

#include <vector>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

enum Op { ADD = 0, LOAD, STORE, INPUT, OUTPUT, BRANCH, BR_NEG, BR_NNEG };

// Counts down from 5, showing every value, until S goes negative; the automatic clock
// runs the whole program, one pulse at a time, until the branch to itself at 5.
using EnginePrograms = ScreensFixture;

TEST_F(EnginePrograms, CountdownLoopWithBranchIfNotNegative) {
  const int program[][3] = {{0, LOAD, 20},  {1, OUTPUT, 0},  {2, ADD, 21},
                            {3, STORE, 20}, {4, BR_NNEG, 1}, {5, BRANCH, 5}};
  for (const auto& line : program) poke(line[0], line[1], line[2]);
  poke(20, 5);
  poke(21, 255);
  rexec().Stop_For_Output.setValue(0);
  startAt(0);
  step();

  std::vector<int> outputs;
  for (int n = 0; n < 60 * 8; ++n) {
    if (view().atInstructionBoundary() && view().pc() == 5) break;
    pulse();
    if (view().phase() == 6 && view().decoded() == MachineView::OpCode::Output)
      outputs.push_back(view().output());
  }
  EXPECT_EQ(outputs, (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(registers(), "PC 5 AR 4 IR 225 X 0 Y 255 S 255 OUT 0");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(view().memory(20), 255);
  EXPECT_TRUE(rexec().Timer1.enabled());
}

}  // namespace
}  // namespace volpar::testing
