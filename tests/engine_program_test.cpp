#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/machine_fixture.h"

namespace volpar::testing {
namespace {

enum Op { ADD = 0, LOAD, STORE, INPUT, OUTPUT, BRANCH, BR_NEG, BR_NNEG };

class EnginePrograms : public MachineFixture {
 protected:
  // Runs whole instructions until the one at `haltAt` (a branch to itself) has run,
  // and collects the Output caption after every OUTPUT.
  std::vector<std::string> runUntilHalt(int haltAt, int maxInstructions) {
    std::vector<std::string> outputs;
    for (int n = 0; n < maxInstructions; ++n) {
      const bool halting = pc() == std::to_string(haltAt);
      runInstruction();
      if (rexec.SHAPEID(OUTPUT + 1).FillColor() == ui::kGreen) {
        outputs.push_back(rexec.Register_Output_Decimal.Caption());
      }
      if (halting) return outputs;
    }
    ADD_FAILURE() << "no halt after " << maxInstructions << " instructions";
    return outputs;
  }
};

// Sums a list by rewriting its own ADD instruction's address on every pass.
TEST_F(EnginePrograms, SumOfAListWithASelfModifyingLoop) {
  const int program[][3] = {
      {0, LOAD, 30},  {1, ADD, 20},    {2, STORE, 30}, {3, LOAD, 1},
      {4, ADD, 29},   {5, STORE, 1},   {6, LOAD, 28},  {7, ADD, 27},
      {8, STORE, 28}, {9, BR_NNEG, 0}, {10, LOAD, 30}, {11, OUTPUT, 0},
      {12, BRANCH, 12}};
  for (const auto& line : program) putInstruction(line[0], line[1], line[2]);
  const int list[] = {7, 11, 13, 17, 150, 60};
  for (int i = 0; i < 6; ++i) putValue(20 + i, list[i]);
  putValue(27, 255);  // -1
  putValue(28, 5);    // passes left after the first
  putValue(29, 1);
  putValue(30, 0);
  setManual();
  startAt(0);

  const std::vector<std::string> outputs = runUntilHalt(12, 100);

  EXPECT_EQ(outputs, std::vector<std::string>{"2"});  // 258 modulo 256
  EXPECT_EQ(memoryBits(30), "00000010");
  EXPECT_EQ(memoryBits(1), "00011010");  // ADD 26: one past the list
  EXPECT_EQ(memoryBits(28), "11111111");
  EXPECT_EQ(pc(), "12");
  EXPECT_EQ(clockCells(), "10000000");
  EXPECT_EQ(runControls(), "step view return");
}

// Counts down from 5, showing every value, until S goes negative.
TEST_F(EnginePrograms, CountdownLoopWithBranchIfNotNegative) {
  const int program[][3] = {{0, LOAD, 20},  {1, OUTPUT, 0}, {2, ADD, 21},
                            {3, STORE, 20}, {4, BR_NNEG, 1}, {5, BRANCH, 5}};
  for (const auto& line : program) putInstruction(line[0], line[1], line[2]);
  putValue(20, 5);
  putValue(21, 255);
  setStopForOutput(false);
  startAt(0);
  rexec.Command_Begin_Step.click();

  const std::vector<std::string> outputs = runUntilHalt(5, 60);

  EXPECT_EQ(outputs, (std::vector<std::string>{"5", "4", "3", "2", "1", "0"}));
  EXPECT_EQ(s(), "255");
  EXPECT_TRUE(negativeFlag());
  EXPECT_EQ(memoryBits(20), "11111111");
  EXPECT_TRUE(rexec.Timer1.enabled());
}

}  // namespace
}  // namespace volpar::testing
