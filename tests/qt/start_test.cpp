// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the program with a program file named on the command line, opened as
// File > Open opens it.
#include <QTemporaryDir>
#include <filesystem>

#include "app/command_line.h"
#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

const QColor kWhite(255, 255, 255), kYellow(255, 255, 0);

// The file is read while the welcome screen stays in front; a file that cannot be
// loaded is reported as Open reports it and memory stays empty. Either way the next
// Open or Save offers the file.
struct NamedFile {
  const char* file;
  bool loads;
};
void PrintTo(const NamedFile& named, std::ostream* os) { *os << named.file; }
class ProgramFileAtStart : public BridgeFixture, public ::testing::WithParamInterface<NamedFile> {};

TEST_P(ProgramFileAtStart, OpensAsFileOpenWould) {
  const std::string path = std::string(VOLPAR_TEST_DATA) + "/" + GetParam().file;
  MessageBoxCloser closer;
  frontEnd.openAtStart(path);
  settle(50);
  EXPECT_TRUE(window(*app.existingInitialScreen()).isVisible());
  if (GetParam().loads) {
    EXPECT_TRUE(closer.seen.empty());
  } else {
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(closer.seen[0].title, "VOLPAR -- PROGRAM FILE");
    EXPECT_TRUE(closer.seen[0].text.contains("could not be loaded"));
    EXPECT_TRUE(closer.seen[0].text.contains(QString::fromStdString(path)));
  }
  hideWelcome();
  EXPECT_TRUE(window(input()).isVisible());
  // countdown.txt begins with INPUT (01100000); the grid is drawn as memory holds it.
  EXPECT_EQ(input().Shape1(2).FillColor(), GetParam().loads ? ui::kYellow : ui::kWhite);
  const QImage grid = render(input());
  for (int cell = 1; cell <= 256; ++cell) {
    const bool one = input().Shape1(cell).FillColor() == ui::kYellow;
    ASSERT_EQ(colorAt(grid, input().Shape1(cell)), one ? kYellow : kWhite) << "cell " << cell;
  }
  EXPECT_EQ(input().CommonDialog1.FileName, path);
}

INSTANTIATE_TEST_SUITE_P(Files, ProgramFileAtStart,
                         ::testing::Values(NamedFile{"countdown.txt", true},
                                           NamedFile{"missing.txt", false},
                                           NamedFile{"runner/damaged_binary.txt", false}),
                         [](const auto& info) { return std::to_string(info.index); });

// A name whose bytes are not UTF-8, as the command line hands it over, reaches the system
// with its own bytes: the file opens, and Save offers it again.
TEST_F(BridgeFixture, AProgramFileNamedInBytesThatAreNotUtf8Opens) {
  QTemporaryDir dir;
  const std::string file = dir.path().toStdString() + "/caf\xE9\xFF.txt";
  std::filesystem::copy_file(std::string(VOLPAR_TEST_DATA) + "/countdown.txt", file);
  const CommandLine line = parseCommandLine({file});
  ASSERT_EQ(line.programFile, file);
  MessageBoxCloser closer;
  frontEnd.openAtStart(line.programFile);
  settle(50);
  EXPECT_TRUE(closer.seen.empty());
  EXPECT_EQ(input().Shape1(2).FillColor(), ui::kYellow) << "countdown.txt begins with INPUT";
  EXPECT_EQ(input().CommonDialog1.FileName, file);
  std::filesystem::remove(file);  // a name the toolkit cannot remove
}

}  // namespace
}  // namespace volpar::qttest
