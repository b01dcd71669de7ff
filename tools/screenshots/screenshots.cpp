// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the pictures of the three screens and the history window for the README: runs the real
// windows offscreen, works them as a student would (a key on the welcome screen, a small program
// typed in and sent to memory, a run started in manual mode and stepped five times, then
// on to its output) and
// saves each window as a PNG into the folder given (docs when none is), in English or in the
// language named after the folder (de, zh_CN, x-pseudo...).
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPlainTextEdit>
#include <cstdio>
#include <string>
#include <utility>

#include "app/application.h"
#include "qt/front_end.h"
#include "qt/qt_platform.h"
#include "qt/theme.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"

namespace {

using volpar::qt::FrontEnd;

bool saveWindow(QWidget& window, const QDir& dir, const char* name) {
  QApplication::processEvents();
  const QString path = dir.filePath(name);
  const bool ok = window.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toLocal8Bit().constData());
  return ok;
}

bool save(FrontEnd& frontEnd, const volpar::ui::Form& form, const QDir& dir, const char* name) {
  volpar::qt::FormWindow* window = frontEnd.windowOf(form);
  if (!window) return false;
  window->flushRepaints();
  QApplication::processEvents();
  const QString path = dir.filePath(name);
  const bool ok = window->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toLocal8Bit().constData());
  return ok;
}

// One byte as the student enters it: the eight bit boxes typed, then Send to Memory.
void sendByte(FrontEnd& frontEnd, volpar::DERAZO_Input& input, const std::string& bits) {
  for (int i = 1; i <= 8; ++i) {
    const std::string bit(1, bits[static_cast<std::size_t>(i - 1)]);
    frontEnd.gate().deliver([&input, i, bit] { input.Input_Bit(i).type(bit, 1); });
  }
  frontEnd.gate().deliver([&input] { input.Command_Send_to_Memory.click(); });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qapp(argc, argv);
  QApplication::setStyle("Fusion");
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("docs"));
  if (!dir.exists() && !QDir().mkpath(dir.path())) return 1;

  // The pictures are in Light, whatever the user chose last.
  volpar::qt::chooseTheme(volpar::frontend::ThemeChoice::Light, false, false);
  volpar::qt::QtPlatform platform;
  volpar::Application app(platform);
  if (argc > 2 && !app.setLanguage(argv[2])) {
    std::fprintf(stderr, "unknown language %s\n", argv[2]);
    return 2;
  }
  FrontEnd frontEnd(app, platform);
  frontEnd.start();
  bool ok = save(frontEnd, app.initialScreen(), dir, "welcome-screen.png");

  volpar::DERAZO_Input& input = app.derazoInput();
  frontEnd.gate().deliver([&app] { app.initialScreen().onKeyPress(' '); });
  // LOAD 5, STORE 6, OUTPUT, then a branch to itself that stops; address 5 holds 10.
  for (const char* byte :
       {"00100101", "01000110", "10000000", "10100011", "00000000", "00001010"}) {
    sendByte(frontEnd, input, byte);
  }
  frontEnd.gate().deliver([&input] { input.Command_Execute_Program.click(); });
  ok = save(frontEnd, input, dir, "input-screen.png") && ok;

  volpar::REXEC& rexec = app.rexec();
  frontEnd.gate().deliver([&input] { input.Command_OK_For_Start_Location.click(); });
  frontEnd.gate().deliver([&rexec] { rexec.Command_Options.click(); });
  frontEnd.gate().deliver([&rexec] { rexec.manual_radio.click(); });
  frontEnd.gate().deliver([&rexec] { rexec.Command_Options_Close.click(); });
  for (int phase = 1; phase <= 5; ++phase) {
    frontEnd.gate().deliver([&rexec] { rexec.Command_Begin_Step.click(); });
  }
  ok = save(frontEnd, rexec, dir, "execution-screen.png") && ok;
  // The same moment in each of the other themes.
  using volpar::frontend::ThemeChoice;
  const std::pair<ThemeChoice, bool> themes[] = {{ThemeChoice::Dark, false},
                                                 {ThemeChoice::HighContrast, false},
                                                 {ThemeChoice::Light, true},
                                                 {ThemeChoice::Dark, true}};
  for (const auto& [choice, safe] : themes) {
    volpar::qt::chooseTheme(choice, safe, false);
    const std::string name = std::string("execution-screen-") +
                             volpar::frontend::choiceName(choice) + (safe ? "-safe" : "") + ".png";
    ok = save(frontEnd, rexec, dir, name.c_str()) && ok;
  }
  volpar::qt::chooseTheme(ThemeChoice::Light, false, false);

  // The same program as text, its running line marked, and the phase just performed.
  volpar::qt::ProgramTextWindow& text = frontEnd.showProgramText();
  text.editor()->setPlainText(
      "; copies a number, then shows it\n"
      "start:  LOAD ten        ; S <- 10\n"
      "        STORE copy      ; the copy <- S\n"
      "        OUTPUT          ; show S\n"
      "done:   BRANCH done     ; the usual end\n"
      "\n"
      "        ORG 5\n"
      "ten:    DATA 10\n"
      "copy:   DATA 0\n");
  text.refresh();
  ok = saveWindow(text, dir, "program-text-window.png") && ok;
  text.editor()->appendPlainText("        LAOD ten\n        BRANCH dnoe");
  ok = saveWindow(text, dir, "program-text-problems.png") && ok;
  text.close();
  ok = saveWindow(frontEnd.showPhase(), dir, "phase-window.png") && ok;

  // On through the OUTPUT to the branch that ends the program, for the history window.
  for (int phase = 6; phase <= 34; ++phase) {
    frontEnd.gate().deliver([&rexec] { rexec.Command_Begin_Step.click(); });
  }
  volpar::qt::HistoryWindow& history = frontEnd.showHistory();
  history.refresh();
  QApplication::processEvents();
  const QString path = dir.filePath("history-window.png");
  const bool saved = history.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toLocal8Bit().constData());
  ok = saved && ok;
  return ok ? 0 : 1;
}
