#include "qt/front_end.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include "qt/form_tooltips.h"
#include "qt/program_icon.h"

namespace volpar::qt {

FrontEnd::FrontEnd(Application& app, QtPlatform& platform)
    : app_(app),
      platform_(platform),
      gate_(
          [this] {
            app_.collectRetired();
            if (historyWindow_) historyWindow_->eventFinished();
          },
          [this] { return app_.programEnded(); }) {
  app_.addObserver(this);
  platform_.setHistory([this] { showHistory(); }, [this] { history_.stepBack(); });
  // Every window of the program, the three screens first, carries its icon.
  QApplication::setWindowIcon(programIcon());
}

FrontEnd::~FrontEnd() {
  platform_.setHistory(nullptr, nullptr);
  app_.removeObserver(this);
  for (auto& [form, window] : windows_) delete window.data();
}

void FrontEnd::start() {
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
  addKeyCommands(*window, form);
  if (form.tooltipAt) new FormTooltips(*window);
}

// The first time beside the execution screen where it is shown, else the input screen.
HistoryWindow& FrontEnd::showHistory() {
  if (!historyWindow_) historyWindow_ = std::make_unique<HistoryWindow>(history_, gate_);
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

// The window may be the one whose handler is still on the stack: it lets go of the form
// now and is deleted once the event loop is back in charge.
void FrontEnd::formDestroyed(ui::Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
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
