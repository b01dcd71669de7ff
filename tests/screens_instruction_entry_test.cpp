// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class InstructionEntry : public ScreensFixture {
 protected:
  ui::TextBox& opCode() { return input().Input_Op_Code(0); }
  ui::TextBox& address() { return input().Input_Memory_Address; }
  // Both screens show one byte two ways: the op code and address fields read the bit
  // boxes of the input screen, the decimal box the bit boxes of the input window.
  void expectViewsInStep(const std::string& why) {
    const std::string b = entryBits();
    EXPECT_EQ(ui::ValInt(opCode().Text()), std::stoi(b.substr(0, 3), nullptr, 2)) << why;
    EXPECT_EQ(ui::ValInt(address().Text()), std::stoi(b.substr(3), nullptr, 2)) << why;
    EXPECT_EQ(ui::ValInt(rexec().Text_Input_Decimal.Text()), std::stoi(windowBits(), nullptr, 2))
        << why;
  }
};

TEST_F(InstructionEntry, BitBoxesAndFieldsKeepInStepAndSendToMemoryWritesTheByte) {
  type(input().Input_Bit(8), "1");
  EXPECT_EQ(opCode().Text() + " " + address().Text(), "0 1");
  EXPECT_EQ(focusedName(input()), "Input_Bit(1)") << "wraps from the last box to the first";
  EXPECT_EQ(input().Input_Bit(1).SelLength(), 1);
  type(input().Input_Bit(1), "1");
  EXPECT_EQ(opCode().Text(), "4");
  EXPECT_EQ(focusedName(input()), "Input_Bit(2)");

  typeBits("00011111");  // each field writes its own bits only
  type(opCode(), "6");
  EXPECT_EQ(entryBits(), "11011111");
  EXPECT_EQ(focusedName(input()), "Input_Op_Code(0)");
  type(address(), "22");
  EXPECT_EQ(entryBits(), "11010110");
  EXPECT_TRUE(guardsClear());
  expectViewsInStep("after typing the fields");

  // Send to Memory writes the byte and advances the location, wrapping after 31.
  typeBits("10100101");
  input().memory_text.SetFocus();  // the location is typed there
  sendTo(3);
  EXPECT_EQ(memoryBits(3), "10100101");
  EXPECT_EQ(input().memory_text.Text(), "4");
  EXPECT_EQ(focusedName(input()), "Input_Bit(1)");
  click(input().Command_Send_to_Memory);  // the byte stays for the next location
  EXPECT_EQ(memoryBits(4), "10100101");

  typeBits("00000001");
  sendTo(31);  // every cell of the byte is rewritten
  EXPECT_EQ(memoryBits(31), "00000001");
  EXPECT_EQ(input().memory_text.Text(), "0");
  EXPECT_EQ(input().Shape1(0).FillColor(), ui::kWhite) << "cell 0 is never memory";
  EXPECT_EQ(memoryBits(3), "10100101");
  EXPECT_TRUE(platform.messages.empty());
}

// --- Every check of the entry fields of both screens ------------------------------------

enum class Field { Bit4, OpCode, Address, Location, Start, WindowBit3, Decimal };

// `after`: the bit boxes of the field's screen afterwards; for the start address, the PC
// cells after OK.
struct Entry {
  Field field;
  const char* typed;
  int message;  // the check's number, 0 for an accepted text
  const char* text;
  const char* after;
};
// Names the row in test names: the default printer would show the pointers' bytes, which
// differ from run to run.
void PrintTo(const Entry& c, std::ostream* os) {
  *os << "field " << static_cast<int>(c.field) << " typed \"" << c.typed << "\"";
}

class EntryChecks : public InstructionEntry, public ::testing::WithParamInterface<Entry> {
 protected:
  // Every bit 1 (or start address 12) first, so that each reset shows in the other view.
  ui::TextBox& prepare(Field f) {
    DERAZO_Input& in = input();
    switch (f) {
      case Field::Start:
        click(in.Command_Execute_Program);
        type(in.exec_text, "12");
        return in.exec_text;
      case Field::WindowBit3:
      case Field::Decimal:
        poke(0, "011 00000");  // INPUT, run until it waits for the value
        startAt(0);
        step();
        tickUntilStopped();
        type(rexec().Text_Input_Decimal, "255");
        return f == Field::Decimal ? rexec().Text_Input_Decimal : rexec().Input_bit(3);
      default:
        typeBits("11111111");
        type(in.memory_text, "12");
        return f == Field::Bit4      ? in.Input_Bit(4)
               : f == Field::OpCode  ? opCode()
               : f == Field::Address ? address()
                                     : in.memory_text;
    }
  }
  std::string shown(Field f) {
    if (f == Field::Start) {
      click(input().Command_OK_For_Start_Location);
      return pcBits();
    }
    return f == Field::WindowBit3 || f == Field::Decimal ? windowBits() : entryBits();
  }
};

TEST_P(EntryChecks, ARefusedTextIsReportedThenPutBackToZeroFocusedAndSelected) {
  const Entry& c = GetParam();
  SCOPED_TRACE("typed \"" + std::string(c.typed) + "\", message " + std::to_string(c.message));
  ui::TextBox& box = prepare(c.field);
  std::string textWhileOpen;
  platform.whileMessageOpen = [&](const FakePlatform::Message&) { textWhileOpen = box.Text(); };

  type(box, c.typed);

  std::string messages;
  for (const FakePlatform::Message& m : platform.messages) messages += m.title + ": " + m.text;
  const std::string expected = "VOLPAR -- INFORMATION " + std::to_string(c.message) + ": " + c.text;
  EXPECT_EQ(messages, c.message ? expected : "");
  if (c.message) {
    EXPECT_EQ(textWhileOpen, c.typed) << "the box is reset only after the message is closed";
    EXPECT_EQ(box.Text(), "0");
    EXPECT_EQ(box.form().focused(), &box);
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 1) << "the whole \"0\" is selected";
  }
  EXPECT_TRUE(guardsClear());
  expectViewsInStep(c.typed);
  EXPECT_EQ(shown(c.field), c.after);
}

constexpr const char* kAddress = "You may only input a number from 0 to 31.";
constexpr const char* kLocation = "Memory locations are integers between 0 and 31";
constexpr const char* kLocationRange = "You must choose a memory location between 0 and 31";
constexpr const char* kDigit = "You may only input a digit.";
constexpr const char* kByte = "You may only input a number from 0 to 255.";

INSTANTIATE_TEST_SUITE_P(
    Messages, EntryChecks,
    ::testing::Values(
        Entry{Field::Bit4, "2", 3, "You may only input a 0 or a 1.", "11101111"},
        Entry{Field::OpCode, "8", 12, "You may only input a number from 0 to 7.", "00011111"},
        Entry{Field::Address, "a", 9, kAddress, "11100000"},
        Entry{Field::Address, "1a", 10, kAddress, "11100000"},
        Entry{Field::Address, "32", 11, kAddress, "11100000"},
        Entry{Field::Address, "05", 0, "", "11100101"},
        Entry{Field::Location, "x", 13, kLocation, "11111111"},
        Entry{Field::Location, "1a", 1, kLocation, "11111111"},
        Entry{Field::Location, "32", 2, kLocationRange, "11111111"},
        Entry{Field::Start, "", 5, kLocation, "00000"},
        Entry{Field::Start, "1a", 6, kLocation, "00000"},
        Entry{Field::Start, "32", 7, kLocationRange, "00000"},
        Entry{Field::Start, "05", 0, "", "00101"},
        Entry{Field::WindowBit3, "2", 4, "You may only input a 1 or a 0.", "11011111"},
        // A window bit box takes one character: "01" (a 1 typed after the 0) never arrives.
        Entry{Field::WindowBit3, "01", 0, "", "11111111"},
        Entry{Field::Decimal, "", 22, kDigit, "00000000"},
        Entry{Field::Decimal, "12a", 23, kDigit, "00000000"},
        Entry{Field::Decimal, "256", 11, kByte, "00000000"},
        Entry{Field::Decimal, "99999999999999999999", 11, kByte, "00000000"},
        Entry{Field::Decimal, "0200", 0, "", "11001000"}));

}  // namespace
}  // namespace volpar::testing
