#include "ui/qt/front_end.h"

namespace volpar::qt {

FrontEnd::FrontEnd(Application& app)
    : app_(app),
      gate_([this] { app_.collectRetired(); }, [this] { return app_.programEnded(); }) {
  app_.setObserver(this);
}

FrontEnd::~FrontEnd() {
  app_.setObserver(nullptr);
  for (auto& [form, window] : windows_) delete window.data();
}

void FrontEnd::start() {
  gate_.deliver([this] { app_.start(); });
}

FormWindow* FrontEnd::windowOf(const ui::Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.data();
}

void FrontEnd::formCreated(ui::Form& form) {
  windows_[&form] = new FormWindow(form, gate_);
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

}  // namespace volpar::qt
