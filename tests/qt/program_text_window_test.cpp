// SPDX-License-Identifier: GPL-3.0-or-later
// The Program Text window as a student uses it: F6 opens the text, a program typed and sent
// fills the memory grid, a text with problems changes nothing, memory changed otherwise is
// said and offered as a listing. (Its running line: announcement_test.cpp.)
#include <QPushButton>

#include "assembly/listing.h"
#include "bridge_fixture.h"
#include "support/data_table.h"

namespace volpar::qttest {
namespace {

constexpr const char* kProgram =
    "; LOAD, a taken branch, OUTPUT, then the end\n"
    "start:  LOAD ten\n"
    "        BRANCH show\n"
    "        DATA 0\n"
    "show:   OUTPUT\n"
    "done:   BRANCH done\n"
    "ten:    DATA 10\n";
constexpr const char* kBytes[] = {"00100101", "10100011", "00000000",
                                  "10000000", "10100100", "00001010"};

class ProgramText : public BridgeFixture {
 protected:
  // F6 on the input screen.
  qt::ProgramTextWindow& open() {
    hideWelcome();
    activate(window(input()));
    QTest::keyClick(&window(input()), Qt::Key_F6);
    settle();
    return *frontEnd.programTextWindow();
  }
  qt::ProgramTextWindow& text = open();
  // The grid's row as drawn: 1 for a yellow cell, 0 for a white one.
  std::string row(int address) {
    std::string bits = seen(input()).at("drawn Shape1").substr(8 * address, 8);
    for (char& c : bits) c = c == 'y' ? '1' : c == 'w' ? '0' : '?';
    return bits;
  }
  // Typed key by key, Enter at each line's end.
  void typeIn(const QString& typed) {
    const QStringList lines = typed.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
      QTest::keyClicks(text.editor(), lines[i]);
      if (i + 1 < lines.size()) QTest::keyClick(text.editor(), Qt::Key_Return);
    }
  }
  void send() {
    QTest::mouseClick(text.sendButton(), Qt::LeftButton);
    settle();
  }
};

// It opens on memory as it is: all zeros, ADD 0 everywhere, listed. A program typed and sent
// fills the grid; a typing mistake is listed with its place, disables Send and changes
// nothing; mended and sent over its own program, no question about saving it first. Memory
// changed otherwise (as the bit boxes or a STORE would) is said and offered as a listing.
// The window as the student reads it at each step: the golden file.
TEST_F(ProgramText, ATypedProgramFillsTheGridAProblemChangesNothingAndMemoryChangedIsSaid) {
  std::string seen = shows(text);
  EXPECT_TRUE(text.editor()->toPlainText().contains("        ADD V0          ; 31 00000000"));
  text.editor()->clear();
  typeIn(kProgram);
  seen += shows(text);
  send();
  for (int a = 0; a < 6; ++a) EXPECT_EQ(row(a), kBytes[a]) << a;
  seen += shows(text);
  typeIn("        LAOD ten\n");
  seen += shows(text);
  text.sendToMemory();
  settle();
  EXPECT_EQ(row(6), "00000000");
  MessageBoxCloser boxes;
  text.editor()->setPlainText(QString(kProgram) + "        LOAD ten\n");
  send();
  EXPECT_EQ(row(6), "00100101");
  EXPECT_TRUE(boxes.seen.empty());
  poke({{2, "0x011111"}});
  settle(2 * qt::ProgramTextWindow::kRefreshMs);
  seen += shows(text);
  QTest::mouseClick(text.listingButton(), Qt::LeftButton);
  settle();
  storage::ByteTexts memory;
  memory.fill("00000000");
  for (int a = 0; a < 7; ++a) memory[static_cast<std::size_t>(a)] = a < 6 ? kBytes[a] : "00100101";
  memory[2] = "0x011111";
  EXPECT_EQ(text.editor()->toPlainText().toStdString(), assembly::listing(memory));
  testing::expectGolden("qt/program_text.txt", seen + shows(text));
}

}  // namespace
}  // namespace volpar::qttest
