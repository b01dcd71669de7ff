#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using ui::kRed;
using ui::kWhite;
using ui::kYellow;

// Yellow and red cells count by weight, the top three only when asked; no other colour
// counts, not even one a step away from red or yellow.
TEST(BitsToNumber, SumsYellowAndRedCellsByWeight) {
  constexpr ui::Color W = kWhite, Y = kYellow, R = kRed;
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(R, R, R, R, R, R, R, R, false), 31);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(R, R, R, R, R, R, R, R, true), 255);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(Y, W, W, W, W, W, W, R, true), 129);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(ui::kGreen, ui::kCyan, ui::kBlack, 0x0000FE, 0x00FFFE,
                                         ui::kGreen, ui::kCyan, ui::kBlack, true),
            0);
}

using EngineHelpers = ScreensFixture;

TEST_F(EngineHelpers, ArraysRefuseIndicesOutsideTheirBounds) {
  EXPECT_THROW(rexec().ShapePC(3), std::out_of_range);
  EXPECT_THROW(rexec().SHAPE_IR(9), std::out_of_range);
  EXPECT_THROW(input().Shape1(257), std::out_of_range);
  EXPECT_NO_THROW(input().Shape1(0));
}

// A program counter beyond the memory cannot come from the start panel or the engine;
// if one ever did, the fetch fails loudly instead of reading past the grid. Phases
// outside the clock are ignored.
TEST_F(EngineHelpers, FetchBeyondMemoryFailsLoudlyAndStrayPhasesAreIgnored) {
  startAt(0);
  for (std::int16_t phase : {std::int16_t{-1}, std::int16_t{8}, std::int16_t{100}}) {
    manual().Clock_Phase = phase;
    pulse();
    EXPECT_EQ(manual().Clock_Phase, phase);
    EXPECT_EQ(clockCells(), "10000000");
  }
  manual().Clock_Phase = 1;
  pulse();  // T1
  rexec().Register_PC_Decimal.setCaption("32");
  EXPECT_THROW(pulse(), std::out_of_range);
}

}  // namespace
}  // namespace volpar::testing
