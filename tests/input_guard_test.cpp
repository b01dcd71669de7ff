// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// A handler that fails halfway through one side's write of the other (the event gate
// reports it and goes on) leaves both guards down: the bit boxes and the fields go on
// following each other afterwards.
using InputGuard = ScreensFixture;

// Each side fails while writing the other; then the other side writes back. A case: the box
// that fails, the box typed into and its text, the box the other side types into ("bits":
// all eight bit boxes of the input screen) and its text, and what the first side then shows.
TEST_F(InputGuard, AFailedWriteLeavesBothSidesFollowingEachOther) {
  const char* const cases[][6] = {
      {"Input_Bit(8)", "Input_Memory_Address", "5", "bits", "01100010", "3 2"},
      {"Input_Memory_Address", "Input_Bit(8)", "1", "Input_Memory_Address", "17", "01110001"},
      {"Input_bit(8)", "Text_Input_Decimal", "1", "Input_bit(1)", "1", "129"},
      {"Text_Input_Decimal", "Input_bit(2)", "1", "Text_Input_Decimal", "65", "01000001"}};
  for (const auto& [failing, typed, text, back, backText, shown] : cases) {
    SCOPED_TRACE(std::string(typed) + " writing " + failing);
    ui::TextBox& box = named<ui::TextBox>(failing);  // its next change fails after its handler
    box.onChange = [&box, handler = box.onChange] {
      handler();
      box.onChange = handler;
      throw std::runtime_error("a handler failed");
    };
    EXPECT_THROW(type(named<ui::TextBox>(typed), text), std::runtime_error);
    const std::string other = back;
    other == "bits" ? typeBits(backText) : type(named<ui::TextBox>(back), backText);
    EXPECT_EQ(other == "bits"
                  ? input().Input_Op_Code(0).Text() + " " + input().Input_Memory_Address.Text()
              : other == "Input_Memory_Address" ? entryBits()
              : other == "Input_bit(1)"         ? rexec().Text_Input_Decimal.Text()
                                                : windowBits(),
              shown);
  }
}

}  // namespace
}  // namespace volpar::testing
