#include <gtest/gtest.h>

#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class InstructionEntry : public ScreensFixture {
 protected:
  ui::TextBox& bit(int i) { return input().Input_Bit(i); }
  ui::TextBox& opCode() { return input().Input_Op_Code(0); }
  ui::TextBox& address() { return input().Input_Memory_Address; }
  ui::TextBox& location() { return input().memory_text; }
  // The three views of the byte agree: op code and address fields read the bit boxes.
  void expectViewsInStep(const std::string& why) {
    const std::string b = entryBits();
    EXPECT_EQ(ui::ValInt(opCode().Text()), std::stoi(b.substr(0, 3), nullptr, 2)) << why;
    EXPECT_EQ(ui::ValInt(address().Text()), std::stoi(b.substr(3), nullptr, 2)) << why;
  }
};

TEST_F(InstructionEntry, TypingABitUpdatesTheFieldsAndMovesToTheNextBox) {
  type(bit(8), "1");
  EXPECT_EQ(address().Text(), "1");
  EXPECT_EQ(opCode().Text(), "0");
  EXPECT_EQ(focusedName(input()), "Input_Bit(1)") << "wraps from the last box to the first";
  EXPECT_EQ(bit(1).SelLength(), 1);

  type(bit(1), "1");
  EXPECT_EQ(opCode().Text(), "4");
  EXPECT_EQ(focusedName(input()), "Input_Bit(2)");
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(guardsClear());
}

TEST_F(InstructionEntry, OpCodeAndAddressFieldsWriteTheirOwnBitsOnly) {
  typeBits("00011111");
  type(opCode(), "5");
  EXPECT_EQ(entryBits(), "10111111");
  EXPECT_EQ(focusedName(input()), "Input_Op_Code(0)");
  type(address(), "2");
  EXPECT_EQ(entryBits(), "10100010");
  EXPECT_EQ(focusedName(input()), "Input_Memory_Address");
  type(address(), "21");
  EXPECT_EQ(entryBits(), "10110101");
  EXPECT_TRUE(platform.messages.empty());
  expectViewsInStep("after typing the fields");
}

TEST_F(InstructionEntry, AddressWithALeadingZeroIsReadAsItsNumber) {
  type(address(), "05");  // a 5 typed after the 0 already there
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(address().Text(), "05");
  EXPECT_EQ(entryBits(), "00000101");
}

struct RefusedEntry {
  const char* what;
  enum Field { Bit4, OpCode, Address, Location } field;
  const char* typed;
  const char* title;
  const char* text;
  const char* bitsAfter;  // the bit boxes afterwards, from 11111111
};

class InstructionEntryChecks : public InstructionEntry,
                               public ::testing::WithParamInterface<RefusedEntry> {
 protected:
  ui::TextBox& field(RefusedEntry::Field f) {
    switch (f) {
      case RefusedEntry::Bit4: return bit(4);
      case RefusedEntry::OpCode: return opCode();
      case RefusedEntry::Address: return address();
      case RefusedEntry::Location: return location();
    }
    return bit(4);
  }
};

TEST_P(InstructionEntryChecks, RefusedEntryIsReportedAndPutBackToZeroSelected) {
  const RefusedEntry& c = GetParam();
  typeBits("11111111");
  type(location(), "12");
  ui::TextBox& box = field(c.field);
  std::string textWhileOpen;
  platform.whileMessageOpen = [&](const FakePlatform::Message&) { textWhileOpen = box.Text(); };

  type(box, c.typed);

  ASSERT_EQ(platform.messages.size(), 1U) << c.what;
  EXPECT_EQ(platform.messages[0].title, c.title) << c.what;
  EXPECT_EQ(platform.messages[0].text, c.text) << c.what;
  EXPECT_EQ(textWhileOpen, c.typed) << c.what;
  EXPECT_EQ(box.Text(), "0") << c.what;
  EXPECT_EQ(input().focused(), &box) << c.what;
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelLength(), 1) << "the whole \"0\" is selected";
  EXPECT_EQ(entryBits(), c.bitsAfter) << c.what;
  expectViewsInStep(c.what);
  EXPECT_TRUE(guardsClear()) << c.what;
}

constexpr const char* kBit = "You may only input a 0 or a 1.";
constexpr const char* kOpCode = "You may only input a number from 0 to 7.";
constexpr const char* kAddress = "You may only input a number from 0 to 31.";
constexpr const char* kLocation = "Memory locations are integers between 0 and 31";
constexpr const char* kLocationRange = "You must choose a memory location between 0 and 31";

INSTANTIATE_TEST_SUITE_P(
    Messages, InstructionEntryChecks,
    ::testing::Values(
        RefusedEntry{"2 in a bit box", RefusedEntry::Bit4, "2", "VOLPAR -- INFORMATION 3", kBit,
                     "11101111"},
        RefusedEntry{"a bit box emptied", RefusedEntry::Bit4, "", "VOLPAR -- INFORMATION 3",
                     kBit, "11101111"},
        RefusedEntry{"10 in a bit box", RefusedEntry::Bit4, "10", "VOLPAR -- INFORMATION 3",
                     kBit, "11101111"},
        RefusedEntry{"8 as op code", RefusedEntry::OpCode, "8", "VOLPAR -- INFORMATION 12",
                     kOpCode, "00011111"},
        RefusedEntry{"op code emptied", RefusedEntry::OpCode, "", "VOLPAR -- INFORMATION 12",
                     kOpCode, "00011111"},
        RefusedEntry{"a letter as op code", RefusedEntry::OpCode, "a",
                     "VOLPAR -- INFORMATION 12", kOpCode, "00011111"},
        RefusedEntry{"two characters as op code", RefusedEntry::OpCode, "5a",
                     "VOLPAR -- INFORMATION 12", kOpCode, "00011111"},
        RefusedEntry{"address emptied", RefusedEntry::Address, "", "VOLPAR -- INFORMATION 9",
                     kAddress, "11100000"},
        RefusedEntry{"a letter as address", RefusedEntry::Address, "a",
                     "VOLPAR -- INFORMATION 9", kAddress, "11100000"},
        RefusedEntry{"3a as address", RefusedEntry::Address, "3a", "VOLPAR -- INFORMATION 10",
                     kAddress, "11100000"},
        RefusedEntry{"12a as address", RefusedEntry::Address, "12a",
                     "VOLPAR -- INFORMATION 10", kAddress, "11100000"},
        RefusedEntry{"45 as address", RefusedEntry::Address, "45", "VOLPAR -- INFORMATION 11",
                     kAddress, "11100000"},
        RefusedEntry{"32 as address", RefusedEntry::Address, "32", "VOLPAR -- INFORMATION 11",
                     kAddress, "11100000"},
        RefusedEntry{"a letter as location", RefusedEntry::Location, "x",
                     "VOLPAR -- INFORMATION 13", kLocation, "11111111"},
        RefusedEntry{"location emptied", RefusedEntry::Location, "",
                     "VOLPAR -- INFORMATION 13", kLocation, "11111111"},
        RefusedEntry{"1x as location", RefusedEntry::Location, "1x", "VOLPAR -- INFORMATION 1",
                     kLocation, "11111111"},
        RefusedEntry{"12a as location", RefusedEntry::Location, "12a",
                     "VOLPAR -- INFORMATION 1", kLocation, "11111111"},
        RefusedEntry{"40 as location", RefusedEntry::Location, "40", "VOLPAR -- INFORMATION 2",
                     kLocationRange, "11111111"}));

TEST_F(InstructionEntry, SendToMemoryWritesTheByteAndAdvancesTheLocation) {
  EXPECT_TRUE(input().Command_Send_to_Memory.Default()) << "Enter presses Send to Memory";
  typeBits("10100101");
  sendTo(3);
  EXPECT_EQ(memoryBits(3), "10100101");
  EXPECT_EQ(input().Shape1(25).FillColor(), ui::kYellow);
  EXPECT_EQ(input().Shape1(26).FillColor(), ui::kWhite);
  EXPECT_EQ(location().Text(), "4");
  EXPECT_EQ(focusedName(input()), "Input_Bit(1)");
  EXPECT_EQ(entryBits(), "10100101") << "the byte stays for the next location";

  click(input().Command_Send_to_Memory);  // the same byte again, at 4
  EXPECT_EQ(memoryBits(4), "10100101");
  EXPECT_EQ(location().Text(), "5");

  typeBits("00000000");
  click(input().Command_Send_to_Memory);  // every cell of the byte is rewritten
  EXPECT_EQ(memoryBits(5), "00000000");
  EXPECT_EQ(memoryBits(3), "10100101");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(InstructionEntry, SendToLocation31WritesTheLastCellsAndWrapsToZero) {
  typeBits("00000001");
  sendTo(31);
  EXPECT_EQ(memoryBits(31), "00000001");
  EXPECT_EQ(input().Shape1(256).FillColor(), ui::kYellow);
  EXPECT_EQ(location().Text(), "0");
  EXPECT_EQ(input().Shape1(0).FillColor(), ui::kWhite) << "cell 0 is never memory";
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace volpar::testing
