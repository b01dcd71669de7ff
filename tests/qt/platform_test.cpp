// SPDX-License-Identifier: GPL-3.0-or-later
// The real platform: file dialog set-up, a missing help file, names in message boxes and a
// handler's failure; its message box is seen in use by the interaction tests too.
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "bridge_fixture.h"
#include "qt/help_viewer.h"
#include "support/data_table.h"

namespace volpar::qttest {
namespace {

// Filter, default suffix, folder, mode and overwrite prompt as the dialog element gives
// them; a save offers the file last chosen.
TEST(FileDialogSetUp, FollowsTheDialogElement) {
  QTemporaryDir dir;
  ui::Form form("F");
  ui::CommonDialog dialog(form, "CommonDialog1");
  dialog.Filter = "Text file (*.txt)|*.txt";
  dialog.DefaultExt = ".txt";
  dialog.InitDir = dir.path().toStdString();
  dialog.FileName = QDir(dir.path()).filePath("prog.txt").toStdString();
  dialog.PathMustExist = true;
  const std::pair<bool, bool> saveAndPrompt[] = {{true, true}, {true, false}, {false, false}};
  for (const auto& [save, overwritePrompt] : saveAndPrompt) {
    dialog.OverwritePrompt = overwritePrompt;
    QFileDialog qt;
    qt.setOption(QFileDialog::DontUseNativeDialog);
    qt::configureFileDialog(qt, dialog, save);
    EXPECT_TRUE(qt.defaultSuffix() == "txt" &&
                qt.nameFilters() == QStringList{"Text file (*.txt)"});
    EXPECT_EQ(QDir(qt.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(qt.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    EXPECT_TRUE(save ? !qt.testOption(QFileDialog::DontConfirmOverwrite) == overwritePrompt &&
                           qt.selectedFiles().value(0).endsWith("prog.txt")
                     : qt.fileMode() == QFileDialog::ExistingFile)
        << save << overwritePrompt;
  }
}

// A name that looks like markup is shown as it is, in every box that can show text from
// outside: a failed load (the name runs across folders), the question before a discard, a
// failure inside a handler, a help file missing (F1 shows one that exists: see the
// interaction tests). No link, no image, no heading.
class Markup : public BridgeFixture {};

TEST_F(Markup, NamesInMessageBoxesAreNeverMarkup) {
  QTemporaryDir dir;
  const std::string hostile = "x<a href=mailto:a@example.com>click me</a><img src=y.png><h1>big";
  const std::filesystem::path path = dir.path().toStdString() + "/" + hostile + ".txt";
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << "no program here";
  MessageBoxCloser closer;
  frontEnd.openAtStart(path.string());
  settle(50);
  hideWelcome();
  act([&] { platform.askToSave("Save " + hostile + "?", "VOLPAR"); });
  act([&] { throw std::runtime_error(hostile); });
  platform.showHelp(dir.path().toStdString() + "/" + hostile + ".zev", 1);
  std::string boxes;
  for (const std::string& box : closer.seen)
    boxes += QString::fromStdString(box).replace(dir.path(), "DIR").toStdString();
  testing::expectGolden("qt/markup_boxes.txt", boxes);
}

// A name whose bytes are not UTF-8, as the file dialog hands it over (shown with U+FFFD),
// reaches the system with its own bytes, across folders too: the file opens.
TEST(FileNames, BytesThatAreNotUtf8ReachTheSystem) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString() + "/caf\xE9";
  const std::string file = folder + "/n\xFF\xFE.txt";
  std::filesystem::create_directory(folder);
  std::ofstream(file) << "x";
  const QString shown = qt::shownPath(file);
  ASSERT_TRUE(shown.contains(QChar::ReplacementCharacter));
  EXPECT_EQ(qt::systemPath(shown), file);
  EXPECT_EQ(qt::systemPath(qt::shownPath(dir.path().toStdString() + "/new\xFF.txt")),
            dir.path().toStdString() + "/new\xEF\xBF\xBD.txt")
      << "a name the folder does not hold is kept as shown";
  std::filesystem::remove_all(folder);  // a name the toolkit cannot remove
}

// Links of the help lead only to its own topics: a link elsewhere is handed to nothing (the
// system's opener, here a stand-in, never hears of it), a topic's link scrolls to it.
TEST(HelpViewer, FollowsOnlyItsOwnTopics) {
  QTemporaryDir dir;
  const QString path = dir.filePath("help.html");
  const std::string lines = QString("<p>line</p>").repeated(200).toStdString();
  std::ofstream(path.toStdString())
      << "<p><a href=\"mailto:a@example.com\">write</a> <a href=\"file:///etc/passwd\">see</a> "
         "<a href=\"#topic-3\">third</a></p>"
      << lines << "<p><a name=\"topic-3\">Third</a></p>" << lines;
  QTextBrowser opener;  // its setSource stands in for the system's opener
  for (const char* scheme : {"mailto", "file"})
    QDesktopServices::setUrlHandler(scheme, &opener, "setSource");
  qt::HelpViewer viewer;
  ASSERT_TRUE(viewer.open(path, 1));
  QTextBrowser* browser = viewer.browser();
  QApplication::processEvents();
  const auto clickOn = [&](const QString& text) {
    QTextCursor at = browser->document()->find(text);
    ASSERT_FALSE(at.isNull()) << text.toStdString();
    at.setPosition(at.selectionStart() + 1);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(at).center());
    QApplication::processEvents();
  };
  clickOn("write");
  clickOn("see");
  for (const char* scheme : {"mailto", "file"}) QDesktopServices::unsetUrlHandler(scheme);
  EXPECT_TRUE(opener.source().isEmpty()) << opener.source().toString().toStdString();
  EXPECT_TRUE(browser->verticalScrollBar()->value() == 0 &&
              browser->toPlainText().startsWith("write see third"));
  clickOn("third");
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace volpar::qttest
