#include "app/application.h"

#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"

namespace volpar {

Application::Application(ui::Platform& platform) : platform_(platform) {}

Application::~Application() {
  // Destroy without telling the observers: they may be gone already.
  observers_.clear();
  retired_.clear();
}

void Application::start() {
  initialScreen();
  initial_->Show();
}

REXEC& Application::rexec() {
  if (!rexec_) {
    rexec_ = std::make_unique<REXEC>(*this);
    tellCreated(*rexec_);
  }
  return *rexec_;
}

DERAZO_Input& Application::derazoInput() {
  if (!input_) {
    input_ = std::make_unique<DERAZO_Input>(*this);
    tellCreated(*input_);
    // Its load step shows it at once. The screen is reachable before the step runs, so
    // a handler inside it that refers to the screen finds this one.
    input_->Form_Load();
  }
  return *input_;
}

Initial_Screen& Application::initialScreen() {
  if (!initial_) {
    initial_ = std::make_unique<Initial_Screen>(*this);
    tellCreated(*initial_);
    initial_->Form_Load();
  }
  return *initial_;
}

void Application::tellCreated(ui::Form& form) {
  for (ScreensObserver* observer : observers_) observer->formCreated(form);
}

template <class F>
void Application::retire(std::unique_ptr<F>& form) {
  if (!form) return;
  form->Hide();
  retired_.push_back(std::move(form));
}

// A discarded execution screen stops its clock at once: no tick reaches it again.
void Application::unloadRexec() {
  if (rexec_) rexec_->Timer1.setEnabled(false);
  retire(rexec_);
}
void Application::unloadDerazoInput() { retire(input_); }
void Application::unloadInitialScreen() { retire(initial_); }

void Application::collectRetired() {
  if (retired_.empty()) return;
  std::vector<std::unique_ptr<ui::Form>> dying;
  dying.swap(retired_);
  for (auto& form : dying) {
    for (ScreensObserver* observer : observers_) observer->formDestroyed(*form);
  }
}

}  // namespace volpar
