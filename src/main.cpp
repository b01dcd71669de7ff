#include <QApplication>

#include "app/application.h"
#include "ui/qt/front_end.h"
#include "ui/qt/qt_platform.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setStyle("Fusion");
  // Closing a window is the program's decision (the input and execution screens end
  // it; the welcome screen only hides), never the toolkit's.
  QApplication::setQuitOnLastWindowClosed(false);

  volpar::qt::QtPlatform platform;
  volpar::Application app(platform);
  volpar::qt::FrontEnd frontEnd(app);
  frontEnd.start();
  if (platform.endRequested()) return 0;
  return QApplication::exec();
}
