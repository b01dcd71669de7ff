// SPDX-License-Identifier: GPL-3.0-or-later
// The phase explanations say what the machine did: for every phase of every op code, the
// register or memory word that the named transfer writes is the one that changed.
#include "machine/phase_explanation.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "assembly/program_text.h"
#include "exercise/headless_machine.h"
#include "support/data_table.h"

namespace volpar {
namespace {

using Target = PhaseExplanation::Target;

// Every value a transfer may write, read from the machine: PC, AR, IR, X, Y, S, Output,
// then the memory.
std::vector<int> read(const MachineView& m) {
  std::vector<int> v{m.pc(), m.ar(), m.ir(), m.x(), m.y(), m.s(), m.output()};
  for (int a = 0; a < 32; ++a) v.push_back(m.memory(a));
  return v;
}

std::set<Target> changed(const std::vector<int>& before, const std::vector<int>& after) {
  static constexpr std::array kRegisters{Target::PC, Target::AR, Target::IR,    Target::X,
                                         Target::Y,  Target::S,  Target::Output};
  std::set<Target> out;
  for (std::size_t i = 0; i < after.size(); ++i)
    if (before[i] != after[i]) out.insert(i < kRegisters.size() ? kRegisters[i] : Target::Memory);
  return out;
}

// Checks the phases of the second instruction (and the T0 after it): the first only
// loads S, so that every transfer of the second writes a value different from the old.
class Checker : public exercise::RunObserver {
 public:
  void output(int) override {}
  void phaseDone(int phase, const MachineView& m) override {
    const std::vector<int> now = read(m);
    if (calls_ >= 8 && calls_ < 16) {
      const PhaseExplanation& e = lastPhaseExplanation(m, phase);
      const std::set<Target> want =
          e.target == Target::None ? std::set<Target>{} : std::set<Target>{e.target};
      EXPECT_EQ(changed(before_, now), want) << "T" << phase << " " << e.transfer;
      seen.push_back(std::string(e.transfer));
    }
    before_ = now;
    ++calls_;
  }
  std::vector<std::string> seen;

 private:
  std::vector<int> before_;
  int calls_ = 0;
};

// Each row of tests/data/phase/transfers.txt: its instruction at address 1, after a LOAD of
// S's value; BRANCH 2 and BRANCH 5 end the run wherever the instruction goes.
TEST(PhaseExplanation, EveryPhaseOfEveryOpCodeNamesWhatChanged) {
  exercise::HeadlessMachine machine;
  machine.markFresh();
  for (const testing::Row& row : testing::readTable("phase/transfers.txt")) {
    SCOPED_TRACE(row[0] + " with S " + row[1]);
    const assembly::Assembly program = assembly::assemble(
        "LOAD 20\n" + row[0] + "\nBRANCH 2\nORG 5\nBRANCH 5\nORG 20\nDATA " + row[1] + "\nDATA 7");
    ASSERT_TRUE(program.bytes) << assembly::problemsText(program);
    ASSERT_TRUE(machine.rewind());
    machine.loadBytes(*program.bytes);
    Checker checker;
    machine.run(0, {33}, 4, &checker);
    EXPECT_EQ(checker.seen, std::vector<std::string>(row.begin() + 2, row.end()));
  }
  // A branch not taken says why.
  EXPECT_EQ(phaseExplanation(4, 6, false).sentence,
            "nothing: S is not negative, so the PC keeps the next address");
  EXPECT_EQ(phaseExplanation(4, 7, true).sentence,
            "nothing: S is negative, so the PC keeps the next address");
}

}  // namespace
}  // namespace volpar
