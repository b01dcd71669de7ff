#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <stdexcept>

#include "support/machine_fixture.h"

namespace volpar::testing {
namespace {

using ui::Color;
using ui::kBlack;
using ui::kCyan;
using ui::kGreen;
using ui::kRed;
using ui::kWhite;
using ui::kYellow;

struct BitsCase {
  const char* what;
  std::array<Color, 8> colors;  // least significant first, as the callers pass them
  bool includeHighBits;
  int expected;
};
void PrintTo(const BitsCase& c, std::ostream* os) { *os << c.what; }

class BitsToNumber : public ::testing::TestWithParam<BitsCase> {};

TEST_P(BitsToNumber, SumsYellowAndRedCellsByWeight) {
  const BitsCase& c = GetParam();
  const auto& k = c.colors;
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7],
                                         c.includeHighBits),
            c.expected)
      << c.what;
}

constexpr Color W = kWhite, Y = kYellow, R = kRed;

INSTANTIATE_TEST_SUITE_P(
    Engine, BitsToNumber,
    ::testing::Values(
        BitsCase{"all white", {W, W, W, W, W, W, W, W}, true, 0},
        BitsCase{"all red, five bits", {R, R, R, R, R, R, R, R}, false, 31},
        BitsCase{"all red, eight bits", {R, R, R, R, R, R, R, R}, true, 255},
        BitsCase{"yellow at 1 and red at 16", {Y, W, W, W, R, W, W, W}, false, 17},
        BitsCase{"high bits ignored without the flag", {W, W, W, W, W, R, R, R}, false, 0},
        BitsCase{"weight 128 alone", {W, W, W, W, W, W, W, R}, true, 128},
        BitsCase{"129", {R, W, W, W, W, W, W, R}, true, 129},
        BitsCase{"other colours count nothing",
                 {kGreen, kCyan, kBlack, 0x0000FE, 0x00FFFE, kGreen, kCyan, kBlack}, true, 0}));

class EngineHelpers : public MachineFixture {};

TEST_F(EngineHelpers, CopyIRToPCTakesOnlyTheAddressField) {
  const std::array<Color, 9> ir{0, R, R, R, R, W, W, W, R};  // 111 10001
  for (int i = 1; i <= 8; ++i) rexec.SHAPE_IR(i).setFillColor(ir[static_cast<std::size_t>(i)]);
  rexec.Register_Address_Decimal.setCaption("4");
  manual.Clock_Phase = 4;

  manual.Copy_IR_To_PC();

  EXPECT_EQ(pcBits(), "10001");
  EXPECT_EQ(pc(), "17");
  EXPECT_EQ(ar(), "4");
  EXPECT_EQ(litLamps(), "");
  EXPECT_EQ(manual.Clock_Phase, 4);
}

TEST_F(EngineHelpers, CopyIRToPCReadsOnlyExactRedAsOne) {
  startAt(31);
  for (int i = 4; i <= 8; ++i) rexec.SHAPE_IR(i).setFillColor(i == 8 ? kRed : kYellow);
  manual.Copy_IR_To_PC();
  EXPECT_EQ(pcBits(), "00001");
  EXPECT_EQ(pc(), "1");
}

TEST_F(EngineHelpers, ArraysRefuseIndicesOutsideTheirBounds) {
  EXPECT_THROW(rexec.ShapePC(3), std::out_of_range);
  EXPECT_THROW(rexec.SHAPE_IR(9), std::out_of_range);
  EXPECT_THROW(input.Shape1(257), std::out_of_range);
  EXPECT_NO_THROW(input.Shape1(0));
}

// A program counter beyond the memory cannot come from the start panel or the engine;
// if one ever did, the fetch fails loudly instead of reading past the grid.
TEST_F(EngineHelpers, FetchBeyondMemoryFailsLoudly) {
  startAt(0);
  pulse();  // T1
  rexec.Register_PC_Decimal.setCaption("32");
  EXPECT_THROW(pulse(), std::out_of_range);
}

TEST_F(EngineHelpers, DispatcherIgnoresPhasesOutsideTheClock) {
  startAt(0);
  for (std::int16_t phase : {std::int16_t{-1}, std::int16_t{8}, std::int16_t{100}}) {
    manual.Clock_Phase = phase;
    pulse();
    EXPECT_EQ(manual.Clock_Phase, phase);
    EXPECT_EQ(clockCells(), "10000000");
  }
}

}  // namespace
}  // namespace volpar::testing
