// SPDX-License-Identifier: GPL-3.0-or-later
// The phase explanations say what the machine did: for every phase of every op code, the
// register or memory word that the named transfer writes is the one that changed.
#include "machine/phase_explanation.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "exercise/headless_machine.h"

namespace volpar {
namespace {

using Target = PhaseExplanation::Target;

// Every value a transfer may write, read from the machine.
struct Values {
  std::array<int, 7> registers{};  // PC, AR, IR, X, Y, S, Output
  std::array<int, 32> memory{};
};

Values read(const MachineView& m) {
  Values v{{m.pc(), m.ar(), m.ir(), m.x(), m.y(), m.s(), m.output()}, {}};
  for (int a = 0; a < 32; ++a) v.memory[static_cast<std::size_t>(a)] = m.memory(a);
  return v;
}

std::set<Target> changed(const Values& before, const Values& after) {
  static constexpr std::array kRegisters{Target::PC, Target::AR, Target::IR,    Target::X,
                                         Target::Y,  Target::S,  Target::Output};
  std::set<Target> out;
  for (std::size_t i = 0; i < kRegisters.size(); ++i) {
    if (before.registers[i] != after.registers[i]) out.insert(kRegisters[i]);
  }
  if (before.memory != after.memory) out.insert(Target::Memory);
  return out;
}

// Checks the phases of the second instruction (and the T0 after it): the first only
// loads S, so that every transfer of the second writes a value different from the old.
class Checker : public exercise::RunObserver {
 public:
  void output(int) override {}
  void phaseDone(int phase, const MachineView& m) override {
    const Values now = read(m);
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
  Values before_;
  int calls_ = 0;
};

storage::ByteTexts program(int instruction, int s) {
  storage::ByteTexts bytes;
  bytes.fill("00000000");
  const auto bits = [](int v) {
    std::string b;
    for (int i = 7; i >= 0; --i) b += ((v >> i) & 1) != 0 ? '1' : '0';
    return b;
  };
  bytes[0] = bits(0x20 | 20);  // LOAD 20
  bytes[1] = bits(instruction);
  bytes[2] = bits(0xA0 | 2);  // BRANCH 2
  bytes[5] = bits(0xA0 | 5);  // BRANCH 5
  bytes[20] = bits(s);
  bytes[21] = bits(7);
  return bytes;
}

TEST(PhaseExplanation, EveryPhaseOfEveryOpCodeNamesWhatChanged) {
  const struct {
    int instruction;
    int s;
    std::vector<std::string> transfers;  // T1 to T7, then T0
  } kCases[] = {
      {0x00 | 21,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "AR ← IR(address)", "Y ← M[AR]", "X ← S",
        "S ← X + Y", "nothing"}},
      {0x20 | 21,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "AR ← IR(address)", "S ← M[AR]", "nothing",
        "nothing", "nothing"}},
      {0x40 | 21,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "AR ← IR(address)", "M[AR] ← S", "nothing",
        "nothing", "nothing"}},
      {0x60 | 21,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "AR ← IR(address)", "nothing", "nothing",
        "S ← Input", "nothing"}},
      {0x80 | 21,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "AR ← IR(address)", "Output ← S", "nothing",
        "nothing", "nothing"}},
      {0xA0 | 5,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "PC ← IR(address)", "nothing", "nothing", "nothing",
        "nothing"}},
      {0xC0 | 5,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "PC ← IR(address)", "nothing", "nothing", "nothing",
        "nothing"}},
      {0xC0 | 5,
       5,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "nothing", "nothing", "nothing", "nothing",
        "nothing"}},
      {0xE0 | 5,
       5,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "PC ← IR(address)", "nothing", "nothing", "nothing",
        "nothing"}},
      {0xE0 | 5,
       150,
       {"AR ← PC", "IR ← M[PC]", "PC ← PC + 1", "nothing", "nothing", "nothing", "nothing",
        "nothing"}},
  };
  exercise::HeadlessMachine machine;
  machine.markFresh();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.instruction);
    ASSERT_TRUE(machine.rewind());
    machine.loadBytes(program(c.instruction, c.s));
    Checker checker;
    machine.run(0, {33}, 4, &checker);
    EXPECT_EQ(checker.seen, c.transfers);
  }
}

TEST(PhaseExplanation, TheSentenceSaysWhyABranchIsNotTaken) {
  EXPECT_EQ(phaseExplanation(4, 6, false).sentence,
            "nothing: S is not negative, so the PC keeps the next address");
  EXPECT_EQ(phaseExplanation(4, 7, true).sentence,
            "nothing: S is negative, so the PC keeps the next address");
  EXPECT_EQ(phaseExplanation(1, 3, false).sentence, "Copy Program Counter To Address Register");
}

}  // namespace
}  // namespace volpar
