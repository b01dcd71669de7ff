// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace volpar::ui {

class CommonDialog;

struct Version {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

// Everything the program asks of the system besides its windows. The windows' bridge
// implements it for real; tests use a recording fake.
class Platform {
 public:
  virtual ~Platform() = default;

  // A modal box with the information icon and one OK button; returns when it is closed.
  virtual void MsgBox(const std::string& text, const std::string& title) = 0;

  // The standard open or save dialog, set up from the dialog's Filter ("Text file
  // (*.txt)|*.txt"), DefaultExt, InitDir, PathMustExist, OverwritePrompt and FileName. Returns true
  // when the user chose a file, which is then in FileName; false when the user cancelled.
  virtual bool ShowOpen(CommonDialog& dialog) = 0;
  virtual bool ShowSave(CommonDialog& dialog) = 0;

  // The folder that holds the program's executable file.
  virtual std::string executableDirectory() = 0;
  // The user's folder for documents, else the home folder; a platform without one answers
  // the executable's folder.
  virtual std::string documentsDirectory() { return executableDirectory(); }

  // Opens the help file at a numeric help context.
  virtual void showHelp(const std::string& helpFile, int context) = 0;

  virtual Version version() = 0;

  // A modal question with the buttons Save, Don't Save and Cancel. A platform that cannot
  // ask goes on as if the answer were Don't Save.
  enum class SaveAnswer { Save, DontSave, Cancel };
  virtual SaveAnswer askToSave(const std::string& /*text*/, const std::string& /*title*/) {
    return SaveAnswer::DontSave;
  }

  // Ends the program at once: no question, nothing saved.
  virtual void endProgram() = 0;

  // The execution history, where the platform keeps one: its window, and a step back to
  // before the last clock phase.
  virtual bool offersHistory() { return false; }
  virtual void showHistory() {}
  virtual void stepBack() {}
  // Choosing an exercise and its window with Check, where the platform has them.
  virtual bool offersExercise() { return false; }
  virtual void openExercise() {}
};

}  // namespace volpar::ui
