// The real platform: file dialog set-up and a missing help file; its message box is seen in use
// by the interaction tests.
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

#include "bridge_fixture.h"

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
    EXPECT_EQ(qt.defaultSuffix(), "txt");
    EXPECT_EQ(qt.nameFilters(), QStringList{"Text file (*.txt)"});
    EXPECT_EQ(QDir(qt.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(qt.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
      EXPECT_EQ(!qt.testOption(QFileDialog::DontConfirmOverwrite), overwritePrompt);
      EXPECT_TRUE(qt.selectedFiles().value(0).endsWith("prog.txt"));
    } else {
      EXPECT_EQ(qt.fileMode(), QFileDialog::ExistingFile);
    }
  }
}

// A missing help file is reported (F1 shows one that exists: see the interaction tests).
TEST(Platform, AMissingHelpFileIsReported) {
  qt::QtPlatform platform;
  MessageBoxCloser closer;
  platform.showHelp("/nonexistent/Vuvuva.zev", 1);
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_TRUE(closer.seen[0].text.contains("could not be opened"));
}

}  // namespace
}  // namespace volpar::qttest
