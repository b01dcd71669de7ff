#include "qt/front_end.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include "qt/memory_tooltips.h"
#include "qt/program_icon.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"

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
  platform_.setHistoryWindow([this] { showHistory(); });
  // Every window of the program, the three screens first, carries its icon.
  QApplication::setWindowIcon(programIcon());
}

FrontEnd::~FrontEnd() {
  platform_.setHistoryWindow(nullptr);
  app_.removeObserver(this);
  for (auto& [form, window] : windows_) delete window.data();
}

void FrontEnd::start() {
  gate_.deliver([this] { app_.start(); });
}

// The input screen's window holds the request, which goes with it (and with this front
// end, which deletes its windows).
void FrontEnd::openAtStart(const std::string& path) {
  DERAZO_Input* input = app_.existingDerazoInput();
  if (!input) return;
  QTimer::singleShot(0, windowOf(*input), [this, path] {
    gate_.deliver([this, path] {
      if (DERAZO_Input* input = app_.existingDerazoInput()) input->openProgramFile(path);
    });
  });
}

FormWindow* FrontEnd::windowOf(const ui::Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.data();
}

void FrontEnd::formCreated(ui::Form& form) {
  auto* window = new FormWindow(form, gate_);
  windows_[&form] = window;
  if (dynamic_cast<REXEC*>(&form)) addHistoryKeys(*window);
  if (dynamic_cast<DERAZO_Input*>(&form)) new MemoryTooltips(*window);
}

HistoryWindow& FrontEnd::showHistory() {
  if (!historyWindow_) historyWindow_ = std::make_unique<HistoryWindow>(history_, gate_);
  historyWindow_->open();
  return *historyWindow_;
}

// On the execution screen F2 opens the history and Ctrl+Z steps back, as in the history
// window itself.
void FrontEnd::addHistoryKeys(FormWindow& window) {
  auto* open = new QAction(&window);
  open->setShortcut(Qt::Key_F2);
  QObject::connect(open, &QAction::triggered, &window, [this] { showHistory(); });
  auto* back = new QAction(&window);
  back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QObject::connect(back, &QAction::triggered, &window, [this] {
    gate_.deliver([this] { history_.stepBack(); });
    if (historyWindow_) historyWindow_->refresh();
  });
  window.addActions({open, back});
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
