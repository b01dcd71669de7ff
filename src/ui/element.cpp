// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/element.h"

#include <algorithm>
#include <cstdlib>

#include "ui/form.h"

namespace volpar::ui {
namespace {

// Texts change in place, mostly to one of about the same length: the characters are copied
// over the old ones, and only a longer text appends. A text taken from the text itself
// lies at or after its start, so copying forward is safe.
void overwrite(std::string& text, std::string_view value) {
  const std::size_t kept = std::min(text.size(), value.size());
  for (std::size_t i = 0; i < kept; ++i) text[i] = value[i];
  if (value.size() > kept) {
    text.append(value.substr(kept));
  } else {
    text.resize(kept);
  }
}

}  // namespace

Element::Element(Form& form, ElementKind kind, std::string name, int index)
    : form_(&form),
      listeners_(&form.listeners()),
      kind_(kind),
      name_(std::move(name)),
      index_(index) {
  form.registerElement(this);
}

std::string Element::displayName() const {
  if (!isArrayElement()) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

void Element::replaceText(Property property, std::string& text, std::string_view value) {
  willChange(property, text);
  overwrite(text, value);
  changed();
}

void Element::recordChange(Property property, const PropertyValue& old) {
  listeners_->recorder->willChange(*form_, this, property, old);
}

namespace {
std::int64_t numberOf(const PropertyValue& value) { return std::get<std::int64_t>(value); }
const std::string& textOf(const PropertyValue& value) { return std::get<std::string>(value); }
Color colorOf(const PropertyValue& value) { return static_cast<Color>(numberOf(value)); }
}  // namespace

void Element::restore(Property property, const PropertyValue& value) {
  switch (property) {
    case Property::Enabled: enabled_ = numberOf(value) != 0; break;
    case Property::Visible: visible_ = numberOf(value) != 0; break;
    case Property::BackColor: backColor_ = colorOf(value); break;
    case Property::ForeColor: foreColor_ = colorOf(value); break;
    default:
      if (!restoreOwn(property, value)) return;
  }
  changed();
}

bool Shape::restoreOwn(Property property, const PropertyValue& value) {
  if (property != Property::FillColor) return false;
  fill_ = colorOf(value);
  return true;
}

namespace {
bool restoreCaption(std::string& caption, Property property, const PropertyValue& value) {
  if (property != Property::Caption) return false;
  caption = textOf(value);
  return true;
}
}  // namespace

bool Label::restoreOwn(Property property, const PropertyValue& value) {
  return restoreCaption(caption_, property, value);
}
bool CommandButton::restoreOwn(Property property, const PropertyValue& value) {
  return restoreCaption(caption_, property, value);
}
bool Frame::restoreOwn(Property property, const PropertyValue& value) {
  return restoreCaption(caption_, property, value);
}
bool Menu::restoreOwn(Property property, const PropertyValue& value) {
  return restoreCaption(caption_, property, value);
}

bool TextBox::restoreOwn(Property property, const PropertyValue& value) {
  if (property == Property::Text) {
    text_ = textOf(value);
  } else if (property == Property::Selection) {
    selStart_ = selectionStart(numberOf(value));
    selLength_ = selectionLength(numberOf(value));
  } else {
    return false;
  }
  return true;
}

bool OptionButton::restoreOwn(Property property, const PropertyValue& value) {
  if (restoreCaption(caption_, property, value)) return true;
  if (property != Property::Value) return false;
  value_ = numberOf(value) != 0;
  return true;
}

bool CheckBox::restoreOwn(Property property, const PropertyValue& value) {
  if (restoreCaption(caption_, property, value)) return true;
  if (property != Property::Value) return false;
  value_ = static_cast<int>(numberOf(value));
  return true;
}

bool HScrollBar::restoreOwn(Property property, const PropertyValue& value) {
  if (property != Property::Value) return false;
  value_ = static_cast<int>(numberOf(value));
  return true;
}

bool Timer::restoreOwn(Property property, const PropertyValue& value) {
  if (property != Property::Interval) return false;
  interval_ = static_cast<int>(numberOf(value));
  return true;
}

void Element::place(int left, int top, int width, int height) {
  rect_ = Rect{left, top, width, height};
}

const Font& Element::font() const { return hasFont_ ? font_ : form_->font(); }

void Element::setFont(const Font& font) {
  font_ = font;
  hasFont_ = true;
}

void Element::setBackColor(Color c) {
  if (c == backColor_) return;
  willChange(Property::BackColor, std::int64_t{backColor_});
  backColor_ = c;
  changed();
}

void Element::setForeColor(Color c) {
  if (c == foreColor_) return;
  willChange(Property::ForeColor, std::int64_t{foreColor_});
  foreColor_ = c;
  changed();
}

void Element::setVisible(bool v) {
  if (v == visible_) return;
  willChange(Property::Visible, std::int64_t{visible_});
  visible_ = v;
  changed();
}

Rect Rect::united(const Rect& o) const {
  const int l = std::min(left, o.left), t = std::min(top, o.top);
  const int r = std::max(left + width, o.left + o.width);
  const int b = std::max(top + height, o.top + o.height);
  return {l, t, r - l, b - t};
}

Rect Element::formRect() const {
  Rect r = rect_;
  for (const Frame* f = container_; f; f = f->container()) {
    r.left += f->rect().left;
    r.top += f->rect().top;
  }
  return r;
}

bool Element::shownOnScreen() const {
  for (const Element* e = this; e; e = e->container_) {
    if (!e->visible_) return false;
  }
  return true;
}

bool Element::usable() const {
  for (const Element* e = this; e; e = e->container_) {
    if (!e->visible_ || !e->enabled_) return false;
  }
  return true;
}

void Element::SetFocus() { form_->setFocus(this); }

void Label::click() {
  if (usable() && onClick) onClick();
}

Line::Line(Form& form, std::string name, int x1, int y1, int x2, int y2)
    : Element(form, ElementKind::Line, std::move(name)), x1_(x1), y1_(y1), x2_(x2), y2_(y2) {
  place(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
}

bool CommandButton::Default() const { return form().defaultButton() == this; }

void CommandButton::setDefault(bool d) {
  if (d) {
    form().setDefaultButton(this);
  } else if (Default()) {
    form().setDefaultButton(nullptr);
  }
}

void CommandButton::click() {
  if (usable() && onClick) onClick();
}

void TextBox::setText(std::string text) {
  if (text == text_) return;
  if (selStart_ != 0 || selLength_ != 0) {
    willChange(Property::Selection, packSelection(selStart_, selLength_));
  }
  willChange(Property::Text, text_);
  text_ = std::move(text);
  selStart_ = 0;
  selLength_ = 0;
  changed();
  if (onChange) onChange();
}

// Every edit by the user is a change, also one that leaves the text as it was (a "0"
// typed over a selected "0"): the bit boxes move the cursor on after each key.
void TextBox::type(std::string text, int caret) {
  const int start = std::clamp(caret, 0, static_cast<int>(text.size()));
  if (start != selStart_ || selLength_ != 0) {
    willChange(Property::Selection, packSelection(selStart_, selLength_));
  }
  selStart_ = start;
  selLength_ = 0;
  if (text != text_) {
    willChange(Property::Text, text_);
    text_ = std::move(text);
    changed();
  }
  if (onChange) onChange();
}

void TextBox::setSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  if (start == selStart_ && length == selLength_) return;
  willChange(Property::Selection, packSelection(selStart_, selLength_));
  selStart_ = start;
  selLength_ = length;
  changed();
}

void TextBox::click() {
  if (usable() && onClick) onClick();
}

void OptionButton::setValue(bool v) {
  if (!v) {
    if (value_) {
      willChange(Property::Value, std::int64_t{1});
      value_ = false;
      changed();
    }
    return;
  }
  for (Element* e : form().elements()) {
    if (e != this && e->kind() == ElementKind::OptionButton && e->container() == container()) {
      static_cast<OptionButton*>(e)->setValue(false);
    }
  }
  const bool wasSelected = value_;
  if (!wasSelected) willChange(Property::Value, std::int64_t{0});
  value_ = true;
  if (!wasSelected) {
    changed();
    if (onClick) onClick();
  }
}

void OptionButton::click() {
  if (usable()) setValue(true);
}

void CheckBox::setValue(int v) {
  if (v == value_) return;
  willChange(Property::Value, std::int64_t{value_});
  value_ = v;
  changed();
  if (onClick) onClick();
}

void CheckBox::click() {
  if (usable()) setValue(value_ == 1 ? 0 : 1);
}

void HScrollBar::setRange(int min, int max, int smallChange, int largeChange) {
  min_ = min;
  max_ = max;
  small_ = smallChange;
  large_ = largeChange;
  value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
}

void HScrollBar::setValue(int v) {
  v = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  if (v == value_) return;
  willChange(Property::Value, std::int64_t{value_});
  value_ = v;
  changed();
  if (onChange) onChange();
}

void Timer::setInterval(int ms) {
  if (ms == interval_) return;
  willChange(Property::Interval, std::int64_t{interval_});
  interval_ = ms;
  changed();
}

void Timer::tick() {
  if (enabled() && onTimer) onTimer();
}

void Menu::click() {
  if (enabled() && visible() && onClick) onClick();
}

}  // namespace volpar::ui
