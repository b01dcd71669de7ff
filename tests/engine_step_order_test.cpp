#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "support/screens_fixture.h"
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
    std::copy_if(changes.begin(), changes.end(), std::back_inserter(out), [&](const auto& c) {
      return std::find(only.begin(), only.end(), c) != only.end();
    });
    return out;
  }
};

struct OrderCase {
  const char* what;
  int start, opCode, operand;  // the instruction at `start`
  const char* operandBits;      // the byte at `operand`
  int pulsesBefore;             // phases run before the one recorded
  std::vector<std::string> order;
  bool onlyThese;  // the recorded phase changes nothing else
};
void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.what; }

class EngineStepOrder : public ScreensFixture, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(EngineStepOrder, APhaseChangesTheElementsInItsOwnOrder) {
  const OrderCase& c = GetParam();
  poke(c.operand, c.operandBits);
  poke(c.start, c.opCode, c.operand);
  startAt(c.start);
  pulse(c.pulsesBefore);
  // A button shows its change only if it differs before the phase.
  if (std::count(c.order.begin(), c.order.end(), "Command_View_Memory")) {
    rexec().Command_View_Memory.setEnabled(false);
  }
  ChangeLog log;
  rexec().setObserver(&log);
  input().setObserver(&log);
  pulse();
  EXPECT_EQ(c.onlyThese ? log.changes : log.filtered(c.order), c.order) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EngineStepOrder,
    ::testing::Values(
        OrderCase{"T3: PC caption before its cells, then the memory word", 5, 1, 6, "00000001", 2,
                  {"Shape_Clock(2)", "Shape_Clock(3)", "Register_PC_Decimal", "ShapePC(8)",
                   "ShapePC(7)", "Register_Memory(8)"},
                  true},
        OrderCase{"T3 wrap: cells whitened before the caption", 31, 1, 0, "00000000", 2,
                  {"ShapePC(4)", "ShapePC(8)", "Register_PC_Decimal"}, false},
        OrderCase{"LOAD: cells, then the negative flag, then the caption", 0, 1, 9, "10000000", 4,
                  {"shapemt", "Shapet(1)", "SHAPET4(7)", "Register_S_Decimal"}, false},
        OrderCase{"ADD: S caption before the cells, the flag last", 0, 0, 9, "10000001", 6,
                  {"Shape_Clock(7)", "Shape_Clock(6)", "Shapexyt", "Register_S_Decimal",
                   "Shapet(8)", "Shapet(1)", "SHAPET4(7)"},
                  false},
        OrderCase{"T5: clock, the T4 lamp, the buttons, then the transfer", 0, 4, 9, "00000000",
                  4, {"Shape_Clock(4)", "Shape_Clock(5)", "shape_irar", "Command_View_Memory",
                      "Shapeto"},
                  false},
        OrderCase{"T6: clock 5 off, the T5 lamp off, clock 6 on", 0, 4, 9, "00000000", 5,
                  {"Shape_Clock(5)", "Shapeto", "Shape_Clock(6)", "Shape_Stop"}, false}));

}  // namespace
}  // namespace volpar::testing
