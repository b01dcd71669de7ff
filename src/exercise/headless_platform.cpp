// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/headless_platform.h"

#include <filesystem>
#include <system_error>

namespace volpar::exercise {

void HeadlessPlatform::MsgBox(const std::string& text, const std::string& title) {
  messages_.push_back({text, title});
}

// Nobody is there to choose a file: every dialog is cancelled.
bool HeadlessPlatform::ShowOpen(ui::CommonDialog&) {
  ++dialogRequests_;
  return false;
}

bool HeadlessPlatform::ShowSave(ui::CommonDialog&) {
  ++dialogRequests_;
  return false;
}

std::string HeadlessPlatform::executableDirectory() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

void HeadlessPlatform::showHelp(const std::string&, int) {}

ui::Version HeadlessPlatform::version() {
  return {VOLPAR_VERSION_MAJOR, VOLPAR_VERSION_MINOR, VOLPAR_VERSION_PATCH};
}

void HeadlessPlatform::endProgram() { endRequested_ = true; }

}  // namespace volpar::exercise
