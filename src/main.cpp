#include <QApplication>
#include <QFileInfo>
#include <iostream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "qt/front_end.h"
#include "qt/qt_platform.h"

namespace {

std::vector<std::string> argumentsAfterName(const QStringList& arguments) {
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version answer without opening a display.
  const volpar::CommandLine early = volpar::parseCommandLine({argv + 1, argv + argc});
  if (early.action == volpar::CommandLine::Action::Help) {
    std::cout << volpar::kProgramUsage;
    return 0;
  }
  if (early.action == volpar::CommandLine::Action::Version) {
    std::cout << volpar::versionLine("volpar", volpar::qt::QtPlatform().version()) << "\n";
    return 0;
  }

  volpar::qt::preferSocketRepaints();
  QApplication qapp(argc, argv);
  QApplication::setStyle("Fusion");
  QGuiApplication::setDesktopFileName("org.volpar.volpar");
  // Closing a window is the program's decision (the input and execution screens end
  // it; the welcome screen only hides), never the toolkit's.
  QApplication::setQuitOnLastWindowClosed(false);

  // Read again without the toolkit's own options, which QApplication has taken.
  const volpar::CommandLine line = volpar::parseCommandLine(argumentsAfterName(qapp.arguments()));
  if (line.action == volpar::CommandLine::Action::Error) {
    std::cerr << "volpar: " << line.error << " (see volpar --help)\n";
    return 2;
  }

  volpar::qt::QtPlatform platform;
  volpar::Application app(platform);
  volpar::qt::FrontEnd frontEnd(app, platform);
  frontEnd.start();
  if (platform.endRequested()) return 0;
  if (!line.programFile.empty()) {
    frontEnd.openAtStart(
        QFileInfo(QString::fromStdString(line.programFile)).absoluteFilePath().toStdString());
  }
  return QApplication::exec();
}
