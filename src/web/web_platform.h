// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <emscripten/val.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/platform.h"

namespace volpar::web {

// The system as the page offers it. A handler cannot wait in a browser, so:
// - the information box is shown by the page, which lets nothing else happen until it is
//   closed; the handler goes on at once, and the page shows the screens as they were
//   when the box was raised until it is closed;
// - the open and save dialogs are the page's own: the first call asks the page to let the
//   user choose and answers "cancelled"; once chosen, the page hands the answer over and
//   delivers the same event again, which now finds it;
// - the question about an unsaved program works the same way: the first call raises the
//   page's box and answers Cancel, so the action stops with nothing lost; Save or Don't
//   Save delivers the event again with that answer (again each time the event is
//   delivered, so that a save dialog on the way keeps it).
// Files live in the page's in-memory file system; a saved file is then handed to the user.
class WebPlatform : public ui::Platform {
 public:
  void setPage(emscripten::val page) { page_ = std::move(page); }

  void MsgBox(const std::string& text, const std::string& title) override;
  bool ShowOpen(ui::CommonDialog& dialog) override;
  bool ShowSave(ui::CommonDialog& dialog) override;
  std::string executableDirectory() override { return "."; }
  void showHelp(const std::string& helpFile, int context) override;
  ui::Version version() override;
  SaveAnswer askToSave(const std::string& text, const std::string& title) override;
  void endProgram() override;
  bool offersHistory() override { return static_cast<bool>(stepBack_); }
  void showHistory() override;
  void stepBack() override {
    if (stepBack_) stepBack_();
  }

  // What steps back; none, and the program offers no history (the page opens its panel).
  void setStepBack(std::function<void()> stepBack) { stepBack_ = std::move(stepBack); }

  // File > Open Exercise: the page lets the user choose the file, then opens it.
  bool offersExercise() override { return true; }
  void openExercise() override { page_.call<void>("chooseExercise"); }

  // The file the user chose, for the event that is delivered again.
  void answerFile(std::string name) { answer_ = std::move(name); }
  // The answer to the question, for the event that is delivered again; an answer the event
  // did not need (a save on the way made the question moot) is forgotten after it.
  void answerQuestion(SaveAnswer answer) { question_ = answer; }
  void forgetAnswer() { question_.reset(); }
  // The file a save wrote during the last event, to hand to the user; empty when none.
  std::string takeSaved();

 private:
  bool takeAnswer(ui::CommonDialog& dialog);

  emscripten::val page_ = emscripten::val::undefined();
  std::optional<std::string> answer_;
  std::optional<SaveAnswer> question_;
  std::string saved_;
  std::function<void()> stepBack_;
};

}  // namespace volpar::web
