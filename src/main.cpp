// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "i18n/languages.h"
#include "i18n/text.h"
#include "qt/front_end.h"
#include "qt/language_menu.h"
#include "qt/qt_platform.h"
#include "qt/theme.h"
#include "ui/quoted.h"

int main(int argc, char** argv) {
  // --help and --version answer without opening a display.
  const volpar::CommandLine early = volpar::parseCommandLine({argv + 1, argv + argc});
  // --help and the command line's errors speak the language named, else the system's.
  volpar::i18n::setLanguage(early.language.empty() ? volpar::i18n::systemLanguage(std::getenv)
                                                   : std::string_view(early.language));
  if (early.action == volpar::CommandLine::Action::Help) {
    std::cout << volpar::i18n::tr(volpar::kProgramUsage);
    return 0;
  }
  if (early.action == volpar::CommandLine::Action::Version) {
    std::cout << volpar::versionText("volpar", volpar::qt::QtPlatform().version());
    return 0;
  }

  volpar::qt::preferSocketRepaints();
  QApplication qapp(argc, argv);
  QApplication::setStyle("Fusion");
  QGuiApplication::setDesktopFileName("org.volpar.volpar");
  // Where QSettings keeps the one thing remembered between runs: the exercise opened last.
  QCoreApplication::setOrganizationName("VOLPAR");
  QCoreApplication::setApplicationName("volpar");
  // Closing a window is the program's decision (the input and execution screens end
  // it; the welcome screen only hides), never the toolkit's.
  QApplication::setQuitOnLastWindowClosed(false);

  // Read again without the toolkit's own options, which QApplication has taken out of argv;
  // a file name keeps its bytes, UTF-8 or not, all the way to the system.
  const volpar::CommandLine line = volpar::parseCommandLine({argv + 1, argv + argc});
  if (line.action == volpar::CommandLine::Action::Error) {
    std::cerr << "volpar: " << line.error << " (see volpar --help)\n";
    return 2;
  }

  // The theme remembered, or the one the command line names for this run.
  const auto theme = line.theme.empty() ? std::optional(volpar::qt::themeChoice())
                                        : volpar::frontend::parseThemeChoice(line.theme);
  if (!theme) {
    std::cerr << "volpar: unknown theme " << volpar::ui::quoted(line.theme)
              << " (see volpar --help)\n";
    return 2;
  }
  volpar::qt::chooseTheme(*theme, line.colourBlind || volpar::qt::colourBlindSafe(), false);

  volpar::qt::QtPlatform platform;
  volpar::Application app(platform);
  // The language the command line names, else the one chosen last, else the system's.
  const std::string language = volpar::qt::startLanguage(line.language);
  app.setLanguage(language);
  volpar::qt::FrontEnd frontEnd(app, platform);
  frontEnd.start();
  if (platform.endRequested()) return 0;
  if (!line.programFile.empty()) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(line.programFile, ec);
    frontEnd.openAtStart(ec ? line.programFile : absolute.string());
  }
  return QApplication::exec();
}
