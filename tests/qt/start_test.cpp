// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the program with a program file named on the command line, opened as
// File > Open opens it.
#include <QTemporaryDir>
#include <filesystem>

#include "app/command_line.h"
#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

// The file is read while the welcome screen stays in front; a file that cannot be loaded is
// reported as Open reports it and memory stays empty. Either way the next Open or Save
// offers the file. A name whose bytes are not UTF-8 (the last case), as the command line
// hands it over, reaches the system with its own bytes.
struct NamedFile {
  const char* file;
  bool loads;
};
class ProgramFileAtStart : public BridgeFixture, public ::testing::WithParamInterface<NamedFile> {};

TEST_P(ProgramFileAtStart, OpensAsFileOpenWould) {
  QTemporaryDir dir;
  const std::string data = std::string(VOLPAR_TEST_DATA) + "/";
  const std::string path =
      GetParam().file ? data + GetParam().file : dir.path().toStdString() + "/caf\xE9\xFF.txt";
  if (!GetParam().file) std::filesystem::copy_file(data + "countdown.txt", path);
  const CommandLine line = parseCommandLine({path});
  ASSERT_EQ(line.programFile, path);
  MessageBoxCloser closer;
  frontEnd.openAtStart(line.programFile);
  settle(50);
  EXPECT_TRUE(window(*app.existingInitialScreen()).isVisible());
  if (GetParam().loads) {
    EXPECT_TRUE(closer.seen.empty());
  } else {
    ASSERT_EQ(closer.seen.size(), 1u);
    const std::string& box = closer.seen[0];
    EXPECT_TRUE(box.starts_with("(i) VOLPAR -- PROGRAM FILE\n") &&
                box.find("could not be loaded") != std::string::npos &&
                box.find(QString::fromStdString(path).toStdString()) != std::string::npos);
  }
  hideWelcome();
  EXPECT_TRUE(window(input()).isVisible());
  // countdown.txt begins with INPUT (01100000); the grid is drawn as memory holds it.
  EXPECT_EQ(input().Shape1(2).FillColor(), GetParam().loads ? ui::kYellow : ui::kWhite);
  std::string grid;  // y for a yellow cell, w for a white one
  for (int cell = 1; cell <= 256; ++cell)
    grid += input().Shape1(cell).FillColor() == ui::kYellow ? 'y' : 'w';
  EXPECT_EQ(seen(input()).at("drawn Shape1"), grid);
  EXPECT_EQ(input().CommonDialog1.FileName, path);
  if (!GetParam().file) std::filesystem::remove(path);  // a name the toolkit cannot remove
}

INSTANTIATE_TEST_SUITE_P(Files, ProgramFileAtStart,
                         ::testing::Values(NamedFile{"countdown.txt", true},
                                           NamedFile{"missing.txt", false},
                                           NamedFile{"runner/damaged_binary.txt", false},
                                           NamedFile{nullptr, true}));

}  // namespace
}  // namespace volpar::qttest
