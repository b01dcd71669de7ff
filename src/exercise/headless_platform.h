// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ui/platform.h"

namespace volpar::exercise {

// The system as a headless run sees it: no windows, no dialogs, no help viewer. A
// message box or a request to end the program cannot happen in a sound run, so they
// are only recorded, for the run to report as faults.
class HeadlessPlatform : public ui::Platform {
 public:
  struct Message {
    std::string text;
    std::string title;
  };

  void MsgBox(const std::string& text, const std::string& title) override;
  bool ShowOpen(ui::CommonDialog& dialog) override;
  bool ShowSave(ui::CommonDialog& dialog) override;
  std::string executableDirectory() override;
  void showHelp(const std::string& helpFile, int context) override;
  ui::Version version() override;
  void endProgram() override;

  const std::vector<Message>& messages() const { return messages_; }
  int dialogRequests() const { return dialogRequests_; }
  bool endRequested() const { return endRequested_; }

 private:
  std::vector<Message> messages_;
  int dialogRequests_ = 0;
  bool endRequested_ = false;
};

}  // namespace volpar::exercise
