// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "i18n/languages.h"
#include "i18n/text.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/machine_reading.h"
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

// A screen is created on first use and the observers are told. The screen is reachable
// before its load step runs, so a handler inside the step that refers to it finds this one.
template <class F>
F& Application::created(std::unique_ptr<F>& form, void (F::*load)()) {
  if (!form) create(form, load);
  return *form;
}

// Kept out of line: the engine asks for its screens on every clock phase, where they
// exist already.
template <class F>
void Application::create(std::unique_ptr<F>& form, void (F::*load)()) {
  form = std::make_unique<F>(*this);
  for (ScreensObserver* observer : observers_) observer->formCreated(*form);
  if (load) (form.get()->*load)();
}

REXEC& Application::rexec() { return created(rexec_); }

ui::Form* Application::executionForm() const { return rexec_.get(); }
ui::Form* Application::inputForm() const { return input_.get(); }

bool Application::setLanguage(std::string_view code) {
  if (!i18n::setLanguage(code)) return false;
  for (ui::Form* form : {static_cast<ui::Form*>(initial_.get()), inputForm(), executionForm()})
    if (form) form->languageChanged();
  return true;
}

std::string Application::machineSummary() const {
  if (!rexec_) return std::string(i18n::tr("The execution screen has not been opened yet."));
  return screens::machineSummary(*rexec_, input_.get());
}

void Application::openProgramFile(const std::string& path) {
  if (input_) input_->openProgramFile(path);
}

void Application::openProgram(const std::array<std::string, 32>& bytes) {
  if (input_) input_->openProgram(bytes);
}

// Its load step shows it at once.
DERAZO_Input& Application::derazoInput() { return created(input_, &DERAZO_Input::Form_Load); }

Initial_Screen& Application::initialScreen() {
  return created(initial_, &Initial_Screen::Form_Load);
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

void Application::destroyRetired() {
  std::vector<std::unique_ptr<ui::Form>> dying;
  dying.swap(retired_);
  for (auto& form : dying) {
    for (ScreensObserver* observer : observers_) observer->formDestroyed(*form);
  }
}

}  // namespace volpar
