// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "ui/platform.h"

class QFileDialog;

namespace volpar::qt {

class HelpViewer;

// The system as the program sees it, for real: Qt's message box, file dialogs and a
// help window, the executable's folder, the version built in, and the end.
class QtPlatform : public ui::Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  void MsgBox(const std::string& text, const std::string& title) override;
  bool ShowOpen(ui::CommonDialog& dialog) override;
  bool ShowSave(ui::CommonDialog& dialog) override;
  std::string executableDirectory() override;
  std::string documentsDirectory() override;
  void showHelp(const std::string& helpFile, int context) override;
  ui::Version version() override;
  SaveAnswer askToSave(const std::string& text, const std::string& title) override;
  void endProgram() override;
  bool offersHistory() override { return static_cast<bool>(showHistory_); }
  void showHistory() override {
    if (showHistory_) showHistory_();
  }
  void stepBack() override {
    if (stepBack_) stepBack_();
  }

  // What ending does; by default every window closes and the event loop stops.
  void setEndAction(std::function<void()> action) { endAction_ = std::move(action); }
  bool endRequested() const { return endRequested_; }
  // What opens the history window and what steps back; none, and the program offers no
  // history.
  void setHistory(std::function<void()> show, std::function<void()> stepBack) {
    showHistory_ = std::move(show);
    stepBack_ = std::move(stepBack);
  }
  bool offersExercise() override { return static_cast<bool>(openExercise_); }
  void openExercise() override {
    if (openExercise_) openExercise_();
  }
  // What File > Open Exercise does; none, and the menu item is not offered.
  void setExerciseOpener(std::function<void()> open) { openExercise_ = std::move(open); }
  HelpViewer* helpViewer() const { return help_.get(); }
  // The help, if open, is read again in the language now in use.
  void languageChanged();

 private:
  bool runFileDialog(ui::CommonDialog& dialog, bool save);
  QString helpFilePath(const std::string& helpFile);

  std::unique_ptr<HelpViewer> help_;
  std::string lastHelp_;  // the help file and topic opened last
  int lastTopic_ = 0;
  std::function<void()> endAction_;
  std::function<void()> showHistory_, stepBack_;
  std::function<void()> openExercise_;
  bool endRequested_ = false;
};

// A path as the system takes it (its bytes, UTF-8 or not) and as the toolkit shows it;
// the one undoes the other, so a name that is not UTF-8 still opens.
std::string systemPath(const QString& path);
QString shownPath(const std::string& path);

// "Text file (*.txt)|*.txt" (description and pattern pairs) as Qt writes filters:
// "Text file (*.txt)".
QString toQtFilter(const std::string& filter);

// Sets up a Qt file dialog from the dialog element: filter, default suffix, initial
// folder, the file name last chosen, and whether an existing file needs confirming.
void configureFileDialog(QFileDialog& qt, const ui::CommonDialog& dialog, bool save);

}  // namespace volpar::qt
