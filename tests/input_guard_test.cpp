// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// A handler that fails halfway through one side's write of the other (the event gate
// reports it and goes on) leaves both guards down: the bit boxes and the fields go on
// following each other afterwards.
class InputGuard : public ScreensFixture {
 protected:
  // The next change of `box` fails after its own handler ran.
  static void failOnce(ui::TextBox& box) {
    box.onChange = [&box, handler = box.onChange] {
      handler();
      box.onChange = handler;
      throw std::runtime_error("a handler failed");
    };
  }
};

TEST_F(InputGuard, AFailedWriteLeavesBothSidesFollowingEachOther) {
  // Each side fails while writing the other; then the other side writes back.
  struct Case {
    const char* what;
    std::function<ui::TextBox&()> failing;
    std::function<void()> write;
    std::function<std::string()> writeBack;  // the other side's edit, and what it shows
    std::string expected;
  };
  const Case cases[] = {
      {"field writing the bits", [this]() -> ui::TextBox& { return input().Input_Bit(8); },
       [this] { type(input().Input_Memory_Address, "5"); },
       [this] {
         typeBits("01100010");
         return input().Input_Op_Code(0).Text() + " " + input().Input_Memory_Address.Text();
       },
       "3 2"},
      {"bits writing the field", [this]() -> ui::TextBox& { return input().Input_Memory_Address; },
       [this] { type(input().Input_Bit(8), "1"); },
       [this] {
         type(input().Input_Memory_Address, "17");
         return entryBits();
       },
       "01110001"},
      {"decimal writing the window's bits",
       [this]() -> ui::TextBox& { return rexec().Input_bit(8); },
       [this] { type(rexec().Text_Input_Decimal, "1"); },
       [this] {
         type(rexec().Input_bit(1), "1");
         return rexec().Text_Input_Decimal.Text();
       },
       "129"},
      {"the window's bits writing the decimal",
       [this]() -> ui::TextBox& { return rexec().Text_Input_Decimal; },
       [this] { type(rexec().Input_bit(2), "1"); },
       [this] {
         type(rexec().Text_Input_Decimal, "65");
         return windowBits();
       },
       "01000001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    failOnce(c.failing());
    EXPECT_THROW(c.write(), std::runtime_error);
    EXPECT_EQ(c.writeBack(), c.expected);
  }
}

}  // namespace
}  // namespace volpar::testing
