// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_platform.h"

#include "ui/element.h"

namespace volpar::web {

void WebPlatform::MsgBox(const std::string& text, const std::string& title) {
  page_.call<void>("msgBox", text, title);
}

bool WebPlatform::takeAnswer(ui::CommonDialog& dialog) {
  if (!answer_) return false;
  dialog.FileName = std::move(*answer_);
  answer_.reset();
  return true;
}

bool WebPlatform::ShowOpen(ui::CommonDialog& dialog) {
  if (takeAnswer(dialog)) return true;
  page_.call<void>("chooseOpen", dialog.Filter, dialog.DefaultExt);
  return false;
}

bool WebPlatform::ShowSave(ui::CommonDialog& dialog) {
  if (takeAnswer(dialog)) {
    saved_ = dialog.FileName;
    return true;
  }
  page_.call<void>("chooseSave", dialog.FileName, dialog.DefaultExt);
  return false;
}

ui::Platform::SaveAnswer WebPlatform::askToSave(const std::string& text, const std::string& title) {
  if (question_) {
    const SaveAnswer answer = *question_;
    question_.reset();
    return answer;
  }
  page_.call<void>("askToSave", text, title);
  return SaveAnswer::Cancel;
}

std::string WebPlatform::takeSaved() {
  std::string name;
  name.swap(saved_);
  return name;
}

void WebPlatform::showHelp(const std::string& helpFile, int context) {
  page_.call<void>("showHelp", helpFile, context);
}

ui::Version WebPlatform::version() {
  return {VOLPAR_VERSION_MAJOR, VOLPAR_VERSION_MINOR, VOLPAR_VERSION_PATCH};
}

void WebPlatform::showHistory() { page_.call<void>("showHistory"); }

void WebPlatform::endProgram() { page_.call<void>("ended"); }

}  // namespace volpar::web
