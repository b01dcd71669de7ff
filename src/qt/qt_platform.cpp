// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QStringList>
#include <filesystem>
#include <optional>

#include "i18n/languages.h"
#include "i18n/text.h"
#include "qt/form_window.h"
#include "qt/help_viewer.h"
#include "qt/qt_text.h"
#include "qt/translated.h"
#include "ui/element.h"
#include "ui/quoted.h"

namespace volpar::qt {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

namespace {

// The entry of folder that the toolkit shows as name, when exactly one does.
std::optional<std::string> entryShownAs(const std::filesystem::path& folder, const QString& name) {
  std::optional<std::string> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string bytes = entry.path().filename().string();
    if (shownPath(bytes) != name) continue;
    if (found) return std::nullopt;
    found = bytes;
  }
  return found;
}

}  // namespace

// The toolkit shows bytes that are not UTF-8 as U+FFFD and cannot encode them back: such a
// name is found again among the entries of its folder, one part of the path at a time.
std::string systemPath(const QString& path) {
  const QString native = QDir::toNativeSeparators(path);
  const std::string encoded = QFile::encodeName(native).toStdString();
  if (!native.contains(QChar::ReplacementCharacter)) return encoded;
  std::filesystem::path found = native.startsWith('/') ? "/" : "";
  for (const QString& part : native.split('/', Qt::SkipEmptyParts)) {
    if (!part.contains(QChar::ReplacementCharacter)) {
      found /= QFile::encodeName(part).toStdString();
      continue;
    }
    const auto bytes = entryShownAs(found.empty() ? "." : found, part);
    if (!bytes) return encoded;
    found /= *bytes;
  }
  return found.string();
}

QString shownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

QString toQtFilter(const std::string& filter) {
  const QStringList parts = qs(filter).split('|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = QString(parts[i + 1]).replace(';', ' ').trimmed();
    entries << (description.contains('(') ? description : description + " (" + patterns + ")");
  }
  if (entries.isEmpty()) return qt::tr("All files (*)");
  return entries.join(";;");
}

void configureFileDialog(QFileDialog& qt, const ui::CommonDialog& dialog, bool save) {
  qt.setNameFilter(toQtFilter(dialog.Filter));
  QString suffix = qs(dialog.DefaultExt);
  while (suffix.startsWith('.')) suffix.remove(0, 1);
  qt.setDefaultSuffix(suffix);
  // The folder is the one the program chose; the file name last chosen is offered in it.
  if (!dialog.InitDir.empty()) qt.setDirectory(shownPath(dialog.InitDir));
  if (!dialog.FileName.empty()) qt.selectFile(QFileInfo(shownPath(dialog.FileName)).fileName());
  if (save) {
    qt.setAcceptMode(QFileDialog::AcceptSave);
    qt.setFileMode(QFileDialog::AnyFile);
    qt.setOption(QFileDialog::DontConfirmOverwrite, !dialog.OverwritePrompt);
  } else {
    qt.setAcceptMode(QFileDialog::AcceptOpen);
    qt.setFileMode(dialog.PathMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
}

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::MsgBox(const std::string& text, const std::string& title) {
  FormWindow::flushAll();  // the box shows the windows as the handler left them
  const QPointer<QWidget> owner = QApplication::activeWindow();
  QMessageBox box(QMessageBox::Information, qs(title), qs(text), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);  // file names and contents are never markup
  box.button(QMessageBox::Ok)->setText(qt::tr("OK"));
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  // The handler goes on with the focus in its window, where the box found it.
  if (owner && owner->isVisible()) owner->activateWindow();
}

ui::Platform::SaveAnswer QtPlatform::askToSave(const std::string& text, const std::string& title) {
  const QPointer<QWidget> owner = QApplication::activeWindow();
  QMessageBox box(QMessageBox::Question, qs(title), qs(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Save)->setText(qt::tr("&Save"));
  box.button(QMessageBox::Discard)->setText(qt::tr("Do&n't Save"));
  box.button(QMessageBox::Cancel)->setText(qt::tr("Cancel"));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  box.setWindowModality(Qt::ApplicationModal);
  const int chosen = box.exec();
  if (owner && owner->isVisible()) owner->activateWindow();
  if (chosen == QMessageBox::Save) return SaveAnswer::Save;
  if (chosen == QMessageBox::Discard) return SaveAnswer::DontSave;
  return SaveAnswer::Cancel;
}

bool QtPlatform::ShowOpen(ui::CommonDialog& dialog) { return runFileDialog(dialog, false); }
bool QtPlatform::ShowSave(ui::CommonDialog& dialog) { return runFileDialog(dialog, true); }

bool QtPlatform::runFileDialog(ui::CommonDialog& dialog, bool save) {
  FormWindow::flushAll();
  QFileDialog qt(QApplication::activeWindow(),
                 save ? qt::tr("Save program") : qt::tr("Open program"));
  configureFileDialog(qt, dialog, save);
  qt.setWindowModality(Qt::ApplicationModal);
  if (qt.exec() != QDialog::Accepted || qt.selectedFiles().isEmpty()) return false;
  dialog.FileName = systemPath(qt.selectedFiles().constFirst());
  return true;
}

std::string QtPlatform::executableDirectory() {
  return systemPath(QCoreApplication::applicationDirPath());
}

std::string QtPlatform::documentsDirectory() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const bool found = !documents.isEmpty() && QDir(documents).exists();
  return systemPath(found ? documents : QDir::homePath());
}

// A help file named without a folder is looked for next to the executable (a build
// tree), then in the installed data folder relative to it, so a moved install still
// finds it.
QString QtPlatform::helpFilePath(const std::string& helpFile) {
  const QString name = qs(helpFile);
  if (QFileInfo(name).isAbsolute()) return name;
  const QDir executable(shownPath(executableDirectory()));
  const QString installed = executable.filePath(QStringLiteral(VOLPAR_DATA_FROM_BIN "/") + name);
  if (!QFileInfo::exists(executable.filePath(name)) && QFileInfo::exists(installed)) {
    return QDir::cleanPath(installed);
  }
  return executable.filePath(name);
}

namespace {

// The help in the language in use, in a folder named for it beside the English file, when
// there is one; else the English.
QString translatedHelp(const QString& path) {
  const QFileInfo english(path);
  const QString translated =
      english.dir().filePath(text(i18n::language()) + "/" + english.fileName());
  return QFileInfo::exists(translated) ? translated : path;
}

}  // namespace

void QtPlatform::showHelp(const std::string& helpFile, int context) {
  const QString path = translatedHelp(helpFilePath(helpFile));
  if (!help_) help_ = std::make_unique<HelpViewer>();
  lastHelp_ = helpFile;
  lastTopic_ = context;
  if (!help_->open(path, context)) {
    MsgBox(i18n::fill(i18n::tr("The help file %1 could not be opened."),
                      {ui::quoted(systemPath(path))}),
           std::string(i18n::tr("VOLPAR Help")));
  }
}

// Help open stays open, read again in the new language at the topic it was opened at.
void QtPlatform::languageChanged() {
  if (help_ && help_->isVisible()) help_->open(translatedHelp(helpFilePath(lastHelp_)), lastTopic_);
}

ui::Version QtPlatform::version() {
  return {VOLPAR_VERSION_MAJOR, VOLPAR_VERSION_MINOR, VOLPAR_VERSION_PATCH};
}

// Ends at once: every window disappears now and the event loop, with any modal box
// that is open, stops as soon as the running handler returns.
void QtPlatform::endProgram() {
  endRequested_ = true;
  if (endAction_) {
    endAction_();
    return;
  }
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(0);
}

}  // namespace volpar::qt
