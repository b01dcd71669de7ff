// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/program_link.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using Answer = ui::Platform::SaveAnswer;

const std::string kZeros(64, '0');

// Memory as the grid holds it, the link made of it, and the memory the link opens again.
class ProgramLink : public ScreensFixture {
 protected:
  std::string link() {
    storage::ByteTexts bytes;
    for (std::int16_t a = 0; a < 32; ++a) bytes[a] = manual().Memory_Byte_To_Text(a);
    return storage::programLink(bytes);
  }
  std::string memory() {
    std::string out;
    for (int a = 0; a < 32; ++a) out += memoryBits(a) + (a < 31 ? " " : "");
    return out;
  }
  void open(const std::string& fragment) {
    const storage::LinkedProgram program = storage::readProgramLink(fragment);
    ASSERT_TRUE(program.bytes) << program.problem;
    input().openProgram(*program.bytes), app.collectRetired();
  }
};

// Two digits a byte, lower case; black cells ("x" in a program file) only in the second
// part, which a memory without them leaves out. Each link opens the memory it was made of.
// (tests/data/program_link_made.txt)
TEST_F(ProgramLink, CarriesEveryCellAndOpensAsMade) {
  for (const Row& row : readTable("program_link_made.txt")) {
    click(input().Command_Restart);
    std::istringstream bytes(row[0]);
    for (std::string b; bytes >> b;)
      if (b != "-") poke(std::stoi(b), b.substr(b.find('=') + 1));
    const std::string made = memory();
    EXPECT_EQ(link(), row[1]);
    click(input().Command_Restart), open(row[1]);
    EXPECT_EQ(memory(), made) << row[1];
  }
}

// Upper-case digits are digits too; a damaged link says why (the cases in
// tests/data/program_link_damaged.txt) and changes nothing.
TEST_F(ProgramLink, DamagedLinkSaysWhy) {
  EXPECT_TRUE(storage::readProgramLink("m=" + std::string(64, 'F')).bytes);
  for (const Row& row : readTable("program_link_damaged.txt")) {
    std::string fragment;
    for (char c : row[0])
      fragment += c == 'M' ? "m=" + kZeros : c == 'Z' ? kZeros : std::string(1, c);
    const storage::LinkedProgram program = storage::readProgramLink(fragment);
    EXPECT_FALSE(program.bytes) << fragment;
    EXPECT_TRUE(program.problem.starts_with(
        "The link does not hold a program that can be opened.\nReason: " + row[1]))
        << program.problem;
    EXPECT_TRUE(program.problem.ends_with(".\nThe memory was not changed.")) << program.problem;
  }
}

// A link's program is the user's own, unsaved (its name is cleared as for program text):
// leaving it asks to save it as a program typed in. Over an unsaved program the link asks
// first; Cancel keeps what memory holds.
TEST_F(ProgramLink, OpensAsAnUnsavedProgram) {
  open("m=25" + std::string(62, '0'));
  EXPECT_EQ(memoryBits(0), "00100101");
  EXPECT_TRUE(platform.questions.empty()) << "nothing unsaved before it: nothing to ask";
  platform.saveQuestionAnswers = {Answer::Cancel};
  open("m=ff" + std::string(62, '0'));
  EXPECT_EQ(memoryBits(0), "00100101");
  click(input().Command_quit);
  ASSERT_EQ(platform.questions.size(), 2U);
  EXPECT_EQ(platform.questions[0].text + " " + platform.questions[1].text,
            "Save the program in memory before opening another program? Save the program in "
            "memory before quitting?");
}

}  // namespace
}  // namespace volpar::testing
