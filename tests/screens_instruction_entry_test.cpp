// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class InstructionEntry : public ScreensFixture {
 protected:
  ui::TextBox& opCode() { return input().Input_Op_Code(0); }
  ui::TextBox& address() { return input().Input_Memory_Address; }
};

// Each field writes its own bits only, the focus moves on from a bit box (wrapping from the
// last to the first), Send to Memory writes the whole byte and advances the location,
// wrapping after 31, and the byte stays for the next location; cell 0 is never memory
// (tests/data/entry/bits_fields_and_send.txt).
TEST_F(InstructionEntry, BitBoxesAndFieldsKeepInStepAndSendToMemoryWritesTheByte) {
  play("entry/bits_fields_and_send.txt");
}

// --- Every check of the entry fields of both screens ------------------------------------

// The cases in tests/data/entry_checks.txt: field, typed, message number, its text, the bits
// shown afterwards.
class EntryChecks : public InstructionEntry, public ::testing::WithParamInterface<Row> {
 protected:
  // Every bit 1 (or start address 12) first, so that each reset shows in the other view.
  bool inWindow(const std::string& f) { return f == "window bit 3" || f == "decimal"; }
  ui::TextBox& prepare(const std::string& f) {
    DERAZO_Input& in = input();
    if (f == "start") {
      click(in.Command_Execute_Program), type(in.exec_text, "12");
      return in.exec_text;
    }
    if (inWindow(f)) {
      poke(0, "011 00000");  // INPUT, run until it waits for the value
      startAt(0), step(), tickUntilStopped(), type(rexec().Text_Input_Decimal, "255");
      return f == "decimal" ? rexec().Text_Input_Decimal : rexec().Input_bit(3);
    }
    typeBits("11111111"), type(in.memory_text, "12");
    return f == "bit 4"     ? in.Input_Bit(4)
           : f == "op code" ? opCode()
           : f == "address" ? address()
                            : in.memory_text;
  }
  std::string shown(const std::string& f) {
    if (f == "start") {
      click(input().Command_OK_For_Start_Location);
      return lit(rexec().ShapePC, ui::kYellow);
    }
    return inWindow(f) ? windowBits() : entryBits();
  }
};

TEST_P(EntryChecks, ARefusedTextIsReportedThenPutBackToZeroFocusedAndSelected) {
  const std::string &field = GetParam()[0], &typed = GetParam()[1], &text = GetParam()[3];
  const int message = std::stoi(GetParam()[2]);
  SCOPED_TRACE(field + " typed \"" + typed + "\"");
  ui::TextBox& box = prepare(field);
  std::string textWhileOpen;
  platform.whileMessageOpen = [&](const FakePlatform::Message&) { textWhileOpen = box.Text(); };

  type(box, typed);

  std::string messages;
  for (const FakePlatform::Message& m : platform.messages) messages += m.title + ": " + m.text;
  const std::string expected = "VOLPAR -- INFORMATION " + std::to_string(message) + ": " + text;
  EXPECT_EQ(messages, message ? expected : "");
  if (message) {
    EXPECT_EQ(textWhileOpen, typed) << "the box is reset only after the message is closed";
    EXPECT_EQ(box.Text(), "0");
    EXPECT_EQ(box.form().focused(), &box);
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 1) << "the whole \"0\" is selected";
  }
  EXPECT_TRUE(guardsClear());
  EXPECT_EQ(shown(field), GetParam()[4]);
}

INSTANTIATE_TEST_SUITE_P(Messages, EntryChecks, ::testing::ValuesIn(readTable("entry_checks.txt")));

}  // namespace
}  // namespace volpar::testing
