#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

enum Op { ADD = 0, LOAD, STORE, INPUT, OUTPUT, BRANCH, BR_NEG, BR_NNEG };

// Counts down from 5, showing every value, until S goes negative; the automatic clock
// runs the whole program, one pulse at a time, until the branch to itself at 5.
using EnginePrograms = ScreensFixture;

TEST_F(EnginePrograms, CountdownLoopWithBranchIfNotNegative) {
  const int program[][3] = {{0, LOAD, 20},  {1, OUTPUT, 0}, {2, ADD, 21},
                            {3, STORE, 20}, {4, BR_NNEG, 1}, {5, BRANCH, 5}};
  for (const auto& line : program) poke(line[0], line[1], line[2]);
  poke(20, 5);
  poke(21, 255);
  rexec().Stop_For_Output.setValue(0);
  startAt(0);
  step();

  std::vector<std::string> outputs;
  for (int n = 0; n < 60 * 8; ++n) {
    if (manual().At_Phase_Zero && rexec().Register_PC_Decimal.Caption() == "5") break;
    pulse();
    if (manual().Clock_Phase == 6 && rexec().SHAPEID(OUTPUT + 1).FillColor() == ui::kGreen)
      outputs.push_back(rexec().Register_Output_Decimal.Caption());
  }
  EXPECT_EQ(rexec().Register_PC_Decimal.Caption(), "5");
  EXPECT_EQ(outputs, (std::vector<std::string>{"5", "4", "3", "2", "1", "0"}));
  EXPECT_EQ(rexec().Register_S_Decimal.Caption(), "255");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(memoryBits(20), "11111111");
  EXPECT_TRUE(rexec().Timer1.enabled());
}

}  // namespace
}  // namespace volpar::testing
