// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form.h"

namespace volpar::ui {

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::setClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
}

void Form::Show() {
  if (!visible_) willChange(Property::FormVisible, std::int64_t{0});
  visible_ = true;
  notify(FormObserver::FormEvent::Shown);
  notify(FormObserver::FormEvent::BroughtToFront);
}

void Form::Hide() {
  if (!visible_) return;
  willChange(Property::FormVisible, std::int64_t{1});
  visible_ = false;
  notify(FormObserver::FormEvent::Hidden);
}

void Form::setFocus(Element* element) {
  if (element != focused_) willChange(Property::Focus, focused_);
  focused_ = element;
  notify(FormObserver::FormEvent::FocusChanged);
}

void Form::changeDefaultButton(CommandButton* button) {
  willChange(Property::DefaultButton, static_cast<Element*>(defaultButton_));
  CommandButton* old = defaultButton_;
  defaultButton_ = button;
  if (old) notifyChanged(*old);
  if (button) notifyChanged(*button);
}

void Form::restore(Property property, const PropertyValue& value) {
  switch (property) {
    case Property::FormVisible:
      if (std::get<std::int64_t>(value) != 0) {
        visible_ = true;
        notify(FormObserver::FormEvent::Shown);
      } else if (visible_) {
        visible_ = false;
        notify(FormObserver::FormEvent::Hidden);
      }
      break;
    case Property::Focus:
      focused_ = std::get<Element*>(value);
      notify(FormObserver::FormEvent::FocusChanged);
      break;
    case Property::DefaultButton: {
      CommandButton* old = defaultButton_;
      defaultButton_ = static_cast<CommandButton*>(std::get<Element*>(value));
      if (old) notifyChanged(*old);
      if (defaultButton_) notifyChanged(*defaultButton_);
      break;
    }
    default: break;
  }
}

CommandButton* Form::enterButton(Element* focused) {
  if (focused && focused->kind() == ElementKind::CommandButton) {
    return static_cast<CommandButton*>(focused);
  }
  return defaultButton_;
}

void Form::notify(FormObserver::FormEvent event) {
  if (listeners_.observer) listeners_.observer->formChanged(*this, event);
}

}  // namespace volpar::ui
