// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/element.h"
#include "ui/platform.h"

namespace volpar::testing {

// A platform that records what the program asks of the system and answers dialogs
// from queues that the test fills.
class FakePlatform : public ui::Platform {
 public:
  struct Message {
    std::string text;
    std::string title;
  };
  struct DialogCall {
    bool save = false;
    std::string filter, defaultExt, initDir, fileNameBefore;
    bool pathMustExist = false, overwritePrompt = false;
  };

  std::vector<Message> messages;
  // Runs while a message box is "open", before it returns (e.g. to look at the screen).
  std::function<void(const Message&)> whileMessageOpen;

  // Answers for the next dialogs: a path chosen, or nullopt for Cancel. An empty queue
  // answers Cancel.
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<DialogCall> dialogs;

  std::string exeDir = "/opt/volpar";  // no such folder, so none the user may write
  std::string documentsDir = "/home/student/Documents";
  std::vector<std::pair<std::string, int>> helpShown;
  ui::Version programVersion{2, 13, 0};  // not the build's own
  int endRequests = 0;
  // Questions asked, and the answers to give them; an empty queue answers Don't Save.
  std::vector<Message> questions;
  std::deque<SaveAnswer> saveQuestionAnswers;

  void MsgBox(const std::string& text, const std::string& title) override {
    messages.push_back({text, title});
    if (whileMessageOpen) whileMessageOpen(messages.back());
  }
  bool ShowOpen(ui::CommonDialog& dialog) override { return answer(dialog, openAnswers, false); }
  bool ShowSave(ui::CommonDialog& dialog) override { return answer(dialog, saveAnswers, true); }
  std::string executableDirectory() override { return exeDir; }
  std::string documentsDirectory() override { return documentsDir; }
  void showHelp(const std::string& file, int context) override {
    helpShown.emplace_back(file, context);
  }
  ui::Version version() override { return programVersion; }
  SaveAnswer askToSave(const std::string& text, const std::string& title) override {
    questions.push_back({text, title});
    if (saveQuestionAnswers.empty()) return SaveAnswer::DontSave;
    const SaveAnswer a = saveQuestionAnswers.front();
    saveQuestionAnswers.pop_front();
    return a;
  }
  void endProgram() override { ++endRequests; }

 private:
  bool answer(ui::CommonDialog& d, std::deque<std::optional<std::string>>& answers, bool save) {
    dialogs.push_back(
        {save, d.Filter, d.DefaultExt, d.InitDir, d.FileName, d.PathMustExist, d.OverwritePrompt});
    if (answers.empty()) return false;
    const std::optional<std::string> choice = answers.front();
    answers.pop_front();
    if (choice) d.FileName = *choice;
    return choice.has_value();
  }
};

}  // namespace volpar::testing
