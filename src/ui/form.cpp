#include "ui/form.h"

namespace volpar::ui {

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::setClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
}

void Form::Show() {
  visible_ = true;
  notify(FormObserver::FormEvent::Shown);
  notify(FormObserver::FormEvent::BroughtToFront);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  notify(FormObserver::FormEvent::Hidden);
}

void Form::setFocus(Element* element) {
  focused_ = element;
  notify(FormObserver::FormEvent::FocusChanged);
}

void Form::setDefaultButton(CommandButton* button) {
  if (button == defaultButton_) return;
  CommandButton* old = defaultButton_;
  defaultButton_ = button;
  if (old) notifyChanged(*old);
  if (button) notifyChanged(*button);
}

void Form::notify(FormObserver::FormEvent event) {
  if (observer_) observer_->formChanged(*this, event);
}

}  // namespace volpar::ui
