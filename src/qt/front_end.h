// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <memory>
#include <string>
#include <unordered_map>

#include "app/application.h"
#include "history/execution_history.h"
#include "qt/event_gate.h"
#include "qt/exercise_window.h"
#include "qt/form_window.h"
#include "qt/history_window.h"
#include "qt/machine_state_window.h"
#include "qt/phase_window.h"
#include "qt/program_text_window.h"
#include "qt/qt_platform.h"

namespace volpar::qt {

// The windows of the running program: opens one for each screen the application creates
// and lets it go when the screen is destroyed. Every event reaches the program through
// its gate, after which discarded screens are destroyed. The execution history listens
// from the start, so that its window, opened late, still shows the whole run.
class FrontEnd : public ScreensObserver {
 public:
  FrontEnd(Application& app, QtPlatform& platform);
  ~FrontEnd() override;
  FrontEnd(const FrontEnd&) = delete;
  FrontEnd& operator=(const FrontEnd&) = delete;

  // Program start, as the first event.
  void start();
  // Opens a program file as File > Open would, once the event loop runs: the welcome
  // screen is shown first and any message appears in front of it.
  void openAtStart(const std::string& path);

  EventGate& gate() { return gate_; }
  FormWindow* windowOf(const ui::Form& form) const;

  history::ExecutionHistory& history() { return history_; }
  // The history window, made when first opened (F2, Help > Execution History).
  HistoryWindow& showHistory();
  HistoryWindow* historyWindow() const { return historyWindow_.get(); }
  // The machine state as plain text, made when first opened (F3).
  MachineStateWindow& showMachineState();
  MachineStateWindow* machineStateWindow() const { return stateWindow_.get(); }
  // The program as text (F6) and the last phase in words (F7), made when first opened.
  ProgramTextWindow& showProgramText();
  ProgramTextWindow* programTextWindow() const { return textWindow_.get(); }
  PhaseWindow& showPhase();
  PhaseWindow* phaseWindow() const { return phaseWindow_.get(); }

  // File > Open Exercise: the file dialog, at the exercise opened last (in this run or an
  // earlier one), then openExercise.
  void chooseExercise();
  // Reads the exercise and shows it in the exercise window; a file that cannot be used is
  // reported in a message box, and the window shown before stays.
  void openExercise(const std::string& path);
  ExerciseWindow* exerciseWindow() const { return exerciseWindow_.get(); }

  // View > Language, or a test: the language `code` from now on, in every open window at
  // once; a code VOLPAR does not speak changes nothing.
  void setLanguage(const std::string& code);

  void formCreated(ui::Form& form) override;
  void formDestroyed(ui::Form& form) override;

 private:
  void addKeyCommands(FormWindow& window, ui::Form& form);
  void addAccessibility(ui::Form& form, FormWindow& window);
  void addViewActions(FormWindow& window);
  void machineChanged();
  void scaleReadingWindows();

  Application& app_;
  QtPlatform& platform_;
  EventGate gate_;
  history::ExecutionHistory history_{app_};
  std::unique_ptr<HistoryWindow> historyWindow_;
  std::unique_ptr<MachineStateWindow> stateWindow_;
  std::unique_ptr<ProgramTextWindow> textWindow_;
  std::unique_ptr<PhaseWindow> phaseWindow_;
  std::unique_ptr<ExerciseWindow> exerciseWindow_;
  const QWidget* scaledHelp_ = nullptr;  // the help window whose text has been scaled
  std::unordered_map<const ui::Form*, QPointer<FormWindow>> windows_;
  QObject requests_;  // what the front end has asked the event loop to do later
};

// Called before the QApplication exists. On X11 the windows send their repaints through the
// connection instead of shared memory: a frame repaints a few small cells, and waiting for
// the server's completion of each shared-memory copy costs more (mostly in the kernel) than
// copying them. A choice made in the user's environment stands.
void preferSocketRepaints();

}  // namespace volpar::qt
