// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/front_end.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <algorithm>

#include "exercise/check.h"
#include "frontend/reading_windows.h"
#include "i18n/languages.h"
#include "i18n/text.h"
#include "qt/accessibility.h"
#include "qt/bit_values.h"
#include "qt/form_tooltips.h"
#include "qt/help_viewer.h"
#include "qt/language_menu.h"
#include "qt/program_icon.h"
#include "qt/qt_text.h"
#include "qt/text_scale.h"
#include "qt/theme.h"
#include "qt/translated.h"

namespace volpar::qt {
namespace {

// The settings key of the exercise opened last, offered by the next Open Exercise.
constexpr const char* kLastExerciseKey = "exercise/last";

}  // namespace

FrontEnd::FrontEnd(Application& app, QtPlatform& platform)
    : app_(app),
      platform_(platform),
      gate_(
          [this] {
            app_.collectRetired();
            if (historyWindow_) historyWindow_->eventFinished();
            if (textWindow_) textWindow_->eventFinished();
            if (phaseWindow_ && phaseWindow_->isVisible()) phaseWindow_->refresh();
            // The help may have just opened.
            if (platform_.helpViewer() != scaledHelp_) scaleReadingWindows();
          },
          [this] { return app_.programEnded(); }) {
  app_.addObserver(this);
  platform_.setHistory([this] { showHistory(); },
                       [this] {
                         announceNextWith(qt::tr("Back"));
                         history_.stepBack();
                       });
  platform_.setExerciseOpener([this] { chooseExercise(); });
  // Every window of the program, the three screens first, carries its icon.
  QApplication::setWindowIcon(programIcon());
  enableMachineAccessibility();
}

FrontEnd::~FrontEnd() {
  platform_.setHistory(nullptr, nullptr);
  platform_.setExerciseOpener(nullptr);
  app_.removeObserver(this);
  for (auto& [form, window] : windows_) delete window.data();
}

void FrontEnd::start() {
  translateToolkit(i18n::language());
  gate_.deliver([this] { app_.start(); });
}

// The request goes with this front end, should it go first.
void FrontEnd::openAtStart(const std::string& path) {
  QTimer::singleShot(0, &requests_,
                     [this, path] { gate_.deliver([this, path] { app_.openProgramFile(path); }); });
}

FormWindow* FrontEnd::windowOf(const ui::Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.data();
}

void FrontEnd::formCreated(ui::Form& form) {
  auto* window = new FormWindow(form, gate_);
  windows_[&form] = window;
  window->onTextScaled([this] { scaleReadingWindows(); });
  addKeyCommands(*window, form);
  if (form.tooltipAt) new FormTooltips(*window);
  addAccessibility(form, *window);
  addViewActions(*window);
}

// The machine's objects for a screen reader, and its bit cells for "Show bit values", as
// the form offers them.
void FrontEnd::addAccessibility(ui::Form& form, FormWindow& window) {
  if (!form.accessibleParts) return;
  ui::AccessibleParts parts = form.accessibleParts();
  addBitCells(parts.bitCells);
  if (parts.readings.empty() && !parts.table) {
    nameControls(window, parts.names);
    return;
  }
  auto* a11y = new MachineAccessibility(window, std::move(parts));
  window.setChangeListener(a11y);
  a11y->announced = [this] { machineChanged(); };
}

// F3 reads the machine state and F4 shows the bit values, on every screen; a screen with
// menus (the input screen) lists both in a View menu of its own, after the menus it has.
void FrontEnd::addViewActions(FormWindow& window) {
  const auto action = [&window](const frontend::ViewAction& view) {
    auto* a = new QAction(&window);
    setTranslated(*a, view.caption);
    a->setShortcut(QKeySequence(text(view.key)));
    return a;
  };
  QAction* read = action(frontend::kReadMachineState);
  QObject::connect(read, &QAction::triggered, &window, [this] { showMachineState(); });
  QAction* bits = action(frontend::kShowBitValues);
  bits->setCheckable(true);
  bits->setChecked(bitValuesShown());
  // Each window has its own action: the option, not the action's tick, decides.
  QObject::connect(bits, &QAction::triggered, &window, [bits, &window] {
    showBitValues(!bitValuesShown());
    bits->setChecked(bitValuesShown());
    announce(&window, bitValuesShown() ? qt::tr("Bit values shown") : qt::tr("Bit values hidden"));
  });
  // The program as text and the last phase in words, on every screen too.
  QAction* programText = action(frontend::kShowProgramText);
  QObject::connect(programText, &QAction::triggered, &window, [this] { showProgramText(); });
  QAction* phase = action(frontend::kShowPhase);
  QObject::connect(phase, &QAction::triggered, &window, [this] { showPhase(); });
  window.addActions({read, bits, programText, phase});
  if (window.menuWidget()) {
    QMenu* view = window.menuBar()->addMenu(QString());
    setTranslated(*view, frontend::kViewMenu);
    view->addActions({read, bits});
    view->addMenu(themeMenu(view));
    view->addMenu(languageMenu(view, [this](const std::string& choice) {
      rememberLanguage(choice);
      setLanguage(languageOf(choice));
    }));
    view->addSeparator();
    view->addActions({programText, phase});
    QObject::connect(view, &QMenu::aboutToShow, bits,
                     [bits] { bits->setChecked(bitValuesShown()); });
  }
}

// Every open window at once, in the new language: the screens recompose their own texts, the
// windows draw every caption and menu again, the reading windows read the machine again and
// a screen reader finds the new names.
void FrontEnd::setLanguage(const std::string& code) {
  bool changed = false;
  gate_.deliver([this, &code, &changed] { changed = app_.setLanguage(code); });
  if (!changed) return;
  translateToolkit(i18n::language());
  for (auto& [form, window] : windows_) {
    if (!window) continue;
    window->languageChanged();
    // The screen reader's parts of a machine screen listen to its window's changes.
    if (auto* a11y = dynamic_cast<MachineAccessibility*>(window->changeListener())) {
      a11y->rename(form->accessibleParts());
    } else if (form->accessibleParts) {
      nameControls(*window, form->accessibleParts().names);
    }
  }
  retranslateTexts();
  if (historyWindow_) historyWindow_->languageChanged();
  if (stateWindow_) stateWindow_->refresh();
  if (textWindow_) textWindow_->languageChanged();
  if (phaseWindow_) phaseWindow_->refresh();
  if (exerciseWindow_) exerciseWindow_->languageChanged();
  platform_.languageChanged();
}

MachineStateWindow& FrontEnd::showMachineState() {
  if (!stateWindow_) {
    stateWindow_ = std::make_unique<MachineStateWindow>([this] { return app_.machineSummary(); });
  }
  stateWindow_->open();
  return *stateWindow_;
}

ProgramTextWindow& FrontEnd::showProgramText() {
  if (!textWindow_) {
    textWindow_ = std::make_unique<ProgramTextWindow>(app_, gate_);
  }
  textWindow_->open();
  return *textWindow_;
}

PhaseWindow& FrontEnd::showPhase() {
  if (!phaseWindow_) phaseWindow_ = std::make_unique<PhaseWindow>(app_);
  phaseWindow_->open();
  return *phaseWindow_;
}

void FrontEnd::machineChanged() {
  if (stateWindow_ && stateWindow_->isVisible()) stateWindow_->refresh();
}

// The first time beside the execution screen where it is shown, else the input screen.
HistoryWindow& FrontEnd::showHistory() {
  if (!historyWindow_) historyWindow_ = std::make_unique<HistoryWindow>(history_, gate_);
  scaleReadingWindows();
  QRect beside;
  for (const ui::Form* form : {app_.executionForm(), app_.inputForm()}) {
    const FormWindow* window = form ? windowOf(*form) : nullptr;
    if (window && window->isVisible()) {
      beside = window->frameGeometry();
      break;
    }
  }
  historyWindow_->open(beside);
  // Opened by a key, inside an event: the history is read once the event has finished.
  HistoryWindow* window = historyWindow_.get();
  QTimer::singleShot(0, window, [window] { window->refresh(); });
  return *historyWindow_;
}

// The help and the history are read beside the screens: their text grows with the largest
// screen shown.
void FrontEnd::scaleReadingWindows() {
  double scale = 1.0;
  for (const auto& [form, window] : windows_) {
    if (window && window->isVisible()) scale = std::max(scale, window->textScale());
  }
  if (historyWindow_) scaleText(*historyWindow_, scale);
  if (HelpViewer* help = platform_.helpViewer()) {
    scaleText(*help, scale);
    scaledHelp_ = help;
  }
}

// The keys a form offers beyond its elements (on the execution screen F2 opens the history
// and Ctrl+Z steps back, as in the history window itself), each delivered as an event.
void FrontEnd::addKeyCommands(FormWindow& window, ui::Form& form) {
  for (const ui::Form::KeyCommand& command : form.keyCommands) {
    auto* action = new QAction(&window);
    action->setShortcut(QKeySequence(QString::fromStdString(command.keys)));
    QObject::connect(action, &QAction::triggered, &window,
                     [this, run = command.run] { gate_.deliver(run); });
    window.addAction(action);
  }
}

void FrontEnd::chooseExercise() {
  QSettings settings;
  const QString last = settings.value(kLastExerciseKey).toString();
  const QString path =
      QFileDialog::getOpenFileName(nullptr, qt::tr("VOLPAR -- OPEN EXERCISE"), last,
                                   qt::tr("Exercise (*.ini)") + ";;" + qt::tr("All files (*)"));
  if (!path.isEmpty()) openExercise(path.toStdString());
}

void FrontEnd::openExercise(const std::string& path) {
  exercise::ExerciseRead read = exercise::readExercise(path);
  if (!read.exercise) {
    platform_.MsgBox(read.problem, exercise::kRefusalTitle);
    return;
  }
  QSettings().setValue(kLastExerciseKey, QString::fromStdString(path));
  exerciseWindow_ = std::make_unique<ExerciseWindow>(
      std::move(*read.exercise), [this] { return exercise::programInMemory(app_.manual()); });
  exerciseWindow_->open();
}

// The window may be the one whose handler is still on the stack: it lets go of the form
// now and is deleted once the event loop is back in charge.
void FrontEnd::formDestroyed(ui::Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  if (form.accessibleParts) removeBitCells(form.accessibleParts().bitCells);
  if (FormWindow* window = it->second.data()) {
    window->detach();
    window->deleteLater();
  }
  windows_.erase(it);
}

void preferSocketRepaints() {
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}

}  // namespace volpar::qt
