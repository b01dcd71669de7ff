#include <gtest/gtest.h>

#include <array>
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

constexpr Color W = kWhite, Y = kYellow, R = kRed;

// Yellow and red cells count by weight, the top three only when asked; no other colour
// counts, not even one a step away from red or yellow.
TEST(BitsToNumber, SumsYellowAndRedCellsByWeight) {
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(R, R, R, R, R, R, R, R, false), 31);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(R, R, R, R, R, R, R, R, true), 255);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(Y, W, W, W, R, W, W, R, false), 17);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(Y, W, W, W, W, W, W, R, true), 129);
  EXPECT_EQ(REXEC_Manual::Bits_To_Number(kGreen, kCyan, kBlack, 0x0000FE, 0x00FFFE, kGreen,
                                         kCyan, kBlack, true),
            0);
}

class EngineHelpers : public MachineFixture {};

// Only the address field counts, and only exact red is a 1; AR, lamps and the phase stay.
TEST_F(EngineHelpers, CopyIRToPCTakesOnlyTheRedAddressBits) {
  startAt(31);
  const std::array<Color, 9> ir{0, R, R, R, R, Y, W, W, R};  // 111 1y001
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
