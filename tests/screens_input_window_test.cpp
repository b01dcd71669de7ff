#include <gtest/gtest.h>

#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// An INPUT instruction at address 0, run in automatic mode until it waits for a value.
class InputWindow : public ScreensFixture {
 protected:
  InputWindow() {
    poke(0, "011 00000");
    startAt(0);
    step();
    tickUntilStopped();
  }
  ui::TextBox& bit(int i) { return rexec().Input_bit(i); }
  ui::TextBox& decimal() { return rexec().Text_Input_Decimal; }
};

TEST_F(InputWindow, BitBoxesAndDecimalBoxStayInStep) {
  type(bit(1), "1");
  type(bit(8), "1");
  EXPECT_EQ(decimal().Text(), "129");
  type(decimal(), "200");
  EXPECT_EQ(windowBits(), "11001000");
  EXPECT_EQ(focusedName(rexec()), "Text_Input_Decimal");
  type(decimal(), "0255");  // digits only: a leading zero is read as the number it is
  EXPECT_EQ(windowBits(), "11111111");
  type(bit(1), "0");
  EXPECT_EQ(decimal().Text(), "127");
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(guardsClear());
}

struct RefusedEntry {
  const char* what;
  int box;  // 1..8 a bit box, 0 the decimal box
  const char* typed;
  const char* title;
  const char* text;
};

class InputWindowChecks : public InputWindow, public ::testing::WithParamInterface<RefusedEntry> {};

TEST_P(InputWindowChecks, RefusedEntryIsReportedAndPutBackToZeroSelected) {
  const RefusedEntry& c = GetParam();
  type(decimal(), "255");  // every bit 1, so each reset shows in the other view
  ui::TextBox& box = c.box == 0 ? decimal() : bit(c.box);
  std::string textWhileOpen;
  platform.whileMessageOpen = [&](const FakePlatform::Message&) { textWhileOpen = box.Text(); };

  type(box, c.typed);

  ASSERT_EQ(platform.messages.size(), 1U) << c.what;
  EXPECT_EQ(platform.messages[0].title, c.title) << c.what;
  EXPECT_EQ(platform.messages[0].text, c.text) << c.what;
  EXPECT_EQ(textWhileOpen, c.typed) << "the box is reset only after the message is closed";
  EXPECT_EQ(box.Text(), "0") << c.what;
  EXPECT_EQ(rexec().focused(), &box) << c.what;
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelLength(), 1) << "the whole \"0\" is selected";
  if (c.box == 0) {
    EXPECT_EQ(windowBits(), "00000000") << c.what;
  } else {
    std::string expected(8, '1');
    expected[static_cast<std::size_t>(c.box - 1)] = '0';
    EXPECT_EQ(windowBits(), expected) << c.what;
    EXPECT_EQ(ui::ValInt(decimal().Text()), 255 - (1 << (8 - c.box))) << c.what;
  }
  EXPECT_TRUE(guardsClear()) << c.what;
}

constexpr const char* kBitOnly = "You may only input a 1 or a 0.";
constexpr const char* kDigitOnly = "You may only input a digit.";
constexpr const char* kByteRange = "You may only input a number from 0 to 255.";

INSTANTIATE_TEST_SUITE_P(
    Messages, InputWindowChecks,
    ::testing::Values(
        RefusedEntry{"a 2 in a bit box", 3, "2", "VOLPAR -- INFORMATION 4", kBitOnly},
        RefusedEntry{"a bit box emptied", 8, "", "VOLPAR -- INFORMATION 4", kBitOnly},
        RefusedEntry{"a letter in a bit box", 1, "a", "VOLPAR -- INFORMATION 4", kBitOnly},
        // Texts that begin with a bit but are not one are refused as well, never read as 10.
        RefusedEntry{"10 in a bit box", 2, "10", "VOLPAR -- INFORMATION 4", kBitOnly},
        RefusedEntry{"1a in a bit box", 5, "1a", "VOLPAR -- INFORMATION 4", kBitOnly},
        RefusedEntry{"a letter", 0, "x", "VOLPAR -- INFORMATION 22", kDigitOnly},
        RefusedEntry{"the decimal box emptied", 0, "", "VOLPAR -- INFORMATION 22", kDigitOnly},
        RefusedEntry{"a minus sign", 0, "-1", "VOLPAR -- INFORMATION 22", kDigitOnly},
        RefusedEntry{"a digit and a letter", 0, "1a", "VOLPAR -- INFORMATION 23", kDigitOnly},
        RefusedEntry{"a blank after a digit", 0, "1 ", "VOLPAR -- INFORMATION 23", kDigitOnly},
        RefusedEntry{"a letter after two digits", 0, "12a", "VOLPAR -- INFORMATION 23",
                     kDigitOnly},
        RefusedEntry{"a fraction", 0, "12.5", "VOLPAR -- INFORMATION 23", kDigitOnly},
        RefusedEntry{"256", 0, "256", "VOLPAR -- INFORMATION 11", kByteRange},
        RefusedEntry{"a huge number", 0, "99999999999999999999", "VOLPAR -- INFORMATION 11",
                     kByteRange}));

TEST_F(InputWindow, OkInAutomaticModeRestartsTheTimerAndT7FollowsAtTheNextTick) {
  type(decimal(), "129");
  click(rexec().Command_Input_Window_OK);
  EXPECT_FALSE(rexec().Command_Input_Window_OK.enabled());
  EXPECT_TRUE(rexec().Timer1.enabled());
  EXPECT_EQ(manual().Clock_Phase, 7);
  EXPECT_TRUE(rexec().Input_Window.enabled()) << "open until T7 has read the boxes";
  type(bit(2), "1");  // still editable until T7
  tick();
  EXPECT_EQ(rexec().Register_S_Decimal.Caption(), "193");
  EXPECT_EQ(sBits(), "11000001");
  EXPECT_EQ(rexec().SHAPET4(7).FillColor(), ui::kRed);
  EXPECT_FALSE(rexec().Input_Window.enabled());
}

TEST_F(InputWindow, BitsEnteredStayForTheNextInput) {
  poke(1, "101 00000");  // BRANCH 0: back to the INPUT
  type(decimal(), "5");
  click(rexec().Command_Input_Window_OK);
  EXPECT_EQ(tickUntilStopped(), 16);  // T7 and T0, BRANCH T1 to T7, T0, INPUT T1 to T6
  EXPECT_TRUE(rexec().Input_Window.enabled());
  EXPECT_EQ(windowBits(), "00000101");
  EXPECT_EQ(decimal().Text(), "5");
}

}  // namespace
}  // namespace volpar::testing
