#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/machine_fixture.h"
#include "ui/form.h"

namespace volpar::testing {
namespace {

// Records the elements a phase changes, in the order it changes them, as a renderer
// hears them.
struct ChangeLog : ui::FormObserver {
  std::vector<std::string> changes;
  void elementChanged(ui::Element& e) override { changes.push_back(e.displayName()); }
  void formChanged(ui::Form&, FormEvent) override {}
  // The recorded names that appear in `only`, in recorded order.
  std::vector<std::string> filtered(const std::vector<std::string>& only) const {
    std::vector<std::string> out;
    for (const std::string& c : changes) {
      for (const std::string& o : only) {
        if (c == o) out.push_back(c);
      }
    }
    return out;
  }
};

class EngineStepOrder : public MachineFixture {
 protected:
  ChangeLog log;
  void record() {
    log.changes.clear();
    rexec.setObserver(&log);
    input.setObserver(&log);
  }
};

TEST_F(EngineStepOrder, T3WritesThePCCaptionBeforeItsCellsAndThenTheMemoryWord) {
  putByte(6, "00000001");
  putInstruction(5, 1, 0);
  startAt(5);
  pulses(2);
  record();
  pulse();
  EXPECT_EQ(log.changes,
            (std::vector<std::string>{"Shape_Clock(2)", "Shape_Clock(3)", "Register_PC_Decimal",
                                      "ShapePC(8)", "ShapePC(7)", "Register_Memory(8)"}));
}

TEST_F(EngineStepOrder, T3WrapWhitensTheCellsBeforeTheCaption) {
  putInstruction(31, 1, 0);
  startAt(31);
  pulses(2);
  record();
  pulse();
  EXPECT_EQ(log.filtered({"ShapePC(4)", "ShapePC(8)", "Register_PC_Decimal"}),
            (std::vector<std::string>{"ShapePC(4)", "ShapePC(8)", "Register_PC_Decimal"}));
}

TEST_F(EngineStepOrder, LoadSetsCellsThenTheNegativeFlagThenTheCaption) {
  putInstruction(0, 1, 9);
  putByte(9, "10000000");
  startAt(0);
  pulses(4);
  record();
  pulse();  // T5
  EXPECT_EQ(log.filtered({"shapemt", "Shapet(1)", "SHAPET4(7)", "Register_S_Decimal"}),
            (std::vector<std::string>{"shapemt", "Shapet(1)", "SHAPET4(7)", "Register_S_Decimal"}));
}

TEST_F(EngineStepOrder, AddWritesTheSCaptionBeforeTheCellsAndTheFlagLast) {
  putInstruction(0, 0, 9);
  putByte(9, "10000001");
  startAt(0);
  pulses(6);
  record();
  pulse();  // T7
  EXPECT_EQ(log.filtered({"Shape_Clock(7)", "Shape_Clock(6)", "Shapexyt", "Register_S_Decimal",
                          "Shapet(8)", "Shapet(1)", "SHAPET4(7)"}),
            (std::vector<std::string>{"Shape_Clock(7)", "Shape_Clock(6)", "Shapexyt",
                                      "Register_S_Decimal", "Shapet(8)", "Shapet(1)",
                                      "SHAPET4(7)"}));
}

TEST_F(EngineStepOrder, PhasesMoveTheClockBeforeTheButtonsAndWhitenLampsInTheirPlace) {
  setManual();
  putInstruction(0, 4, 0);
  startAt(0);
  pulses(4);
  rexec.Command_View_Memory.setEnabled(false);
  record();
  pulse();  // T5: clock, then the T4 lamps, then the buttons, then the transfer
  EXPECT_EQ(log.filtered({"Shape_Clock(4)", "Shape_Clock(5)", "shape_irar",
                          "Command_View_Memory", "Shapeto"}),
            (std::vector<std::string>{"Shape_Clock(4)", "Shape_Clock(5)", "shape_irar",
                                      "Command_View_Memory", "Shapeto"}));
  log.changes.clear();
  pulse();  // T6: clock 5 off, T5 lamps off, clock 6 on
  EXPECT_EQ(log.filtered({"Shape_Clock(5)", "Shapeto", "Shape_Clock(6)", "Shape_Stop"}),
            (std::vector<std::string>{"Shape_Clock(5)", "Shapeto", "Shape_Clock(6)",
                                      "Shape_Stop"}));
}

}  // namespace
}  // namespace volpar::testing
