#include "ui/qt/front_end.h"

#include <QApplication>
#include <QTimer>

#include "screens/input/DERAZO_Input.h"
#include "ui/qt/program_icon.h"

namespace volpar::qt {

FrontEnd::FrontEnd(Application& app)
    : app_(app), gate_([this] { app_.collectRetired(); }, [this] { return app_.programEnded(); }) {
  app_.addObserver(this);
  // Every window of the program, the three screens first, carries its icon.
  QApplication::setWindowIcon(programIcon());
}

FrontEnd::~FrontEnd() {
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

void FrontEnd::formCreated(ui::Form& form) { windows_[&form] = new FormWindow(form, gate_); }

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

}  // namespace volpar::qt
