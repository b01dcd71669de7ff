// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <memory>
#include <optional>

#include "exercise/grader.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace volpar::qt {

// The "VOLPAR Exercise" window: the exercise's title and text, its visible tests, and
// Check, which grades the program now in memory against every test on fresh machines in
// the background. Reading memory changes nothing: memory, the screens, a run in progress
// and the history stay as they are, so a program may be checked at any moment.
class ExerciseWindow : public QWidget {
 public:
  // readProgram gives the program in memory when Check is pressed.
  ExerciseWindow(exercise::Exercise exercise, std::function<exercise::Program()> readProgram);
  ~ExerciseWindow() override;

  void open();
  // Check: grades the program in memory; the verdicts appear when it is done.
  void check();
  // The window's words, the tests and the last verdicts in the language now in use.
  void languageChanged();

  QPushButton* checkButton() const { return check_; }
  QListWidget* tests() const { return tests_; }
  QListWidget* verdicts() const { return verdicts_; }
  QLabel* hidden() const { return hidden_; }
  bool checking() const { return watcher_.isRunning(); }

 private:
  struct Checked {
    std::shared_ptr<const exercise::Program> program;
    exercise::ProgramResult result;
  };
  void showVerdicts(const Checked& checked);
  void listTests();

  std::shared_ptr<const exercise::Exercise> exercise_;
  std::function<exercise::Program()> readProgram_;
  QListWidget* tests_;
  QPushButton* check_;
  QListWidget* verdicts_;
  QLabel* hidden_;
  QFutureWatcher<Checked> watcher_;
  std::optional<Checked> last_;
};

}  // namespace volpar::qt
