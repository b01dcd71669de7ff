// SPDX-License-Identifier: GPL-3.0-or-later
// The Program Text and Phase windows as a student uses them: F6 opens the text, a program
// typed and sent fills the memory grid, a text with problems changes nothing, memory
// changed otherwise is said and offered as a listing, and the running line follows the
// machine; F7 says what the last phase moved.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "assembly/listing.h"
#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

const QColor kYellow(255, 255, 0), kWhite(255, 255, 255);

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
  qt::ProgramTextWindow& open() {
    hideWelcome();
    qt::FormWindow& w = window(input());
    activate(w);
    QTest::keyClick(&w, Qt::Key_F6);
    settle();
    EXPECT_NE(frontEnd.programTextWindow(), nullptr);
    return *frontEnd.programTextWindow();
  }
  // The grid as drawn: eight characters a row, 1 for a yellow cell.
  std::string row(int address) {
    const QImage image = render(input());
    std::string bits;
    for (int b = 1; b <= 8; ++b) {
      const QColor c = colorAt(image, input().Shape1(8 * address + b));
      bits += c == kYellow ? '1' : c == kWhite ? '0' : '?';
    }
    return bits;
  }
  // Typed key by key, Enter at each line's end.
  static void typeIn(QWidget* editor, const QString& text) {
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
      QTest::keyClicks(editor, lines[i]);
      if (i + 1 < lines.size()) QTest::keyClick(editor, Qt::Key_Return);
    }
  }
  void send(qt::ProgramTextWindow& text) {
    QTest::mouseClick(text.sendButton(), Qt::LeftButton);
    settle();
  }
};

TEST_F(ProgramText, ATypedProgramSentFillsTheGridAndAProblemChangesNothing) {
  qt::ProgramTextWindow& text = open();
  ASSERT_TRUE(text.isVisible());
  // It opens on memory as it is: all zeros, ADD 0 everywhere, listed.
  EXPECT_TRUE(text.editor()->toPlainText().contains("        ADD V0          ; 31 00000000"));
  text.editor()->clear();
  typeIn(text.editor(), kProgram);
  EXPECT_TRUE(text.sendButton()->isEnabled());
  send(text);
  for (int a = 0; a < 6; ++a) EXPECT_EQ(row(a), kBytes[a]) << a;
  EXPECT_EQ(text.status()->text(), "Memory holds this program.");
  EXPECT_FALSE(text.sendButton()->isEnabled());

  // A typing mistake: listed with its place, Send disabled, memory as it was.
  typeIn(text.editor(), "        LAOD ten\n");
  ASSERT_EQ(text.problems()->count(), 1);
  EXPECT_EQ(text.problems()->item(0)->text().toStdString(),
            "line 8, column 9: \"LAOD\" is not an instruction; did you mean LOAD?");
  EXPECT_FALSE(text.sendButton()->isEnabled());
  text.sendToMemory();
  settle();
  EXPECT_EQ(row(6), "00000000");
  EXPECT_EQ(row(0), kBytes[0]);

  // Mended and sent again over its own program: no question about saving it first.
  MessageBoxCloser boxes;
  text.editor()->setPlainText(QString(kProgram) + "        LOAD ten\n");
  send(text);
  EXPECT_EQ(row(6), "00100101");
  EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(ProgramText, MemoryChangedOtherwiseIsSaidAndOfferedAsAListing) {
  qt::ProgramTextWindow& text = open();
  text.editor()->setPlainText(kProgram);
  send(text);
  ASSERT_EQ(text.status()->text(), "Memory holds this program.");
  poke({{2, "0x011111"}});  // as the bit boxes or a STORE would
  settle(2 * qt::ProgramTextWindow::kRefreshMs);
  EXPECT_TRUE(text.status()->text().startsWith("Memory differs from this text"));
  EXPECT_TRUE(text.listingButton()->isEnabled());
  QTest::mouseClick(text.listingButton(), Qt::LeftButton);
  settle();
  storage::ByteTexts memory;
  memory.fill("00000000");
  for (int a = 0; a < 6; ++a) memory[static_cast<std::size_t>(a)] = kBytes[a];
  memory[2] = "0x011111";
  EXPECT_EQ(text.editor()->toPlainText().toStdString(), assembly::listing(memory));
  EXPECT_EQ(text.status()->text(), "Memory holds this program.");
}

// Line 2 (LOAD) from the start through its T7, line 3 (the branch) from the T0 before it,
// line 5 (OUTPUT) where the branch went, line 6 after it; the Phase window follows.
TEST_F(ProgramText, TheRunningLineFollowsTheMachineAndThePhaseWindowSaysWhatMoved) {
  qt::ProgramTextWindow& text = open();
  text.editor()->setPlainText(kProgram);
  send(text);
  startRun();
  act([this] { rexec().manual_radio.setValue(true); });
  text.refresh();
  std::vector<int> lines{text.runningLine()};
  for (int phase = 0; phase < 24; ++phase) {
    act([this] { rexec().Command_Begin_Step.click(); });
    text.refresh();
    lines.push_back(text.runningLine());
  }
  const std::vector<int> expected{2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3,
                                  3, 3, 3, 5, 5, 5, 5, 5, 5, 5, 5, 6};
  EXPECT_EQ(lines, expected);

  qt::FormWindow& w = window(rexec());
  activate(w);
  QTest::keyClick(&w, Qt::Key_F7);
  settle();
  qt::PhaseWindow* phase = frontEnd.phaseWindow();
  ASSERT_NE(phase, nullptr);
  EXPECT_EQ(phase->heading()->text(), "T0 of OUTPUT");
  act([this] { rexec().Command_Begin_Step.click(); });
  EXPECT_EQ(phase->heading()->text(), "T1");
  EXPECT_EQ(phase->transfer()->text(), "AR ← PC: 4");
  EXPECT_EQ(phase->sentence()->text(), "Copy Program Counter To Address Register");
}

}  // namespace
}  // namespace volpar::qttest
