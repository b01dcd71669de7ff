// The real platform: file dialog set-up and help window; its message box is seen in use
// by the interaction tests.
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "bridge_fixture.h"
#include "ui/qt/help_viewer.h"

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
  const struct {
    bool save;
    bool overwritePrompt;
  } cases[] = {{true, true}, {true, false}, {false, false}};
  dialog.PathMustExist = true;
  for (const auto& c : cases) {
    dialog.OverwritePrompt = c.overwritePrompt;
    QFileDialog qt;
    qt.setOption(QFileDialog::DontUseNativeDialog);
    qt::configureFileDialog(qt, dialog, c.save);
    EXPECT_EQ(qt.defaultSuffix(), "txt");
    EXPECT_EQ(qt.nameFilters(), QStringList{"Text file (*.txt)"});
    EXPECT_EQ(QDir(qt.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    if (c.save) {
      EXPECT_EQ(qt.acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(!qt.testOption(QFileDialog::DontConfirmOverwrite), c.overwritePrompt);
      ASSERT_FALSE(qt.selectedFiles().isEmpty());
      EXPECT_TRUE(qt.selectedFiles().constFirst().endsWith("prog.txt"));
    } else {
      EXPECT_EQ(qt.acceptMode(), QFileDialog::AcceptOpen);
      EXPECT_EQ(qt.fileMode(), QFileDialog::ExistingFile);
    }
  }
}

// Help opens at topic 1 and shows the help file; a missing help file is reported.
TEST(Platform, HelpOpensAtTopicOneAndShowsTheHelpFile) {
  qt::QtPlatform platform;
  {
    MessageBoxCloser closer;
    platform.showHelp("/nonexistent/Vuvuva.zev", 1);
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_TRUE(closer.seen[0].text.contains("could not be opened"));
  }
  platform.showHelp(VOLPAR_HELP_FILE, 1);
  ASSERT_NE(platform.helpViewer(), nullptr);
  EXPECT_TRUE(platform.helpViewer()->isVisible());
  EXPECT_TRUE(platform.helpViewer()->browser()->toPlainText().contains("Execution screen"));
  platform.helpViewer()->close();
}

}  // namespace
}  // namespace volpar::qttest
