// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form_snapshot.h"

#include "ui/element.h"
#include "ui/form.h"

namespace volpar::ui {
namespace {

// Focus, a property of forms, stands for none: the element has no number (or no text) of
// its own. No kind has more than one of each.
constexpr Property kNone = Property::Focus;

template <class T>
const T& as(const Element& e) {
  return static_cast<const T&>(e);
}

std::int64_t ownNumber(const Element& e, Property& property) {
  switch (e.kind()) {
    case ElementKind::Shape: property = Property::FillColor; return as<Shape>(e).FillColor();
    case ElementKind::TextBox:
      property = Property::Selection;
      return packSelection(as<TextBox>(e).SelStart(), as<TextBox>(e).SelLength());
    case ElementKind::OptionButton: property = Property::Value; return as<OptionButton>(e).Value();
    case ElementKind::CheckBox: property = Property::Value; return as<CheckBox>(e).Value();
    case ElementKind::HScrollBar: property = Property::Value; return as<HScrollBar>(e).Value();
    case ElementKind::Timer: property = Property::Interval; return as<Timer>(e).Interval();
    default: property = kNone; return 0;
  }
}

const std::string* ownText(const Element& e, Property& property) {
  property = Property::Caption;
  switch (e.kind()) {
    case ElementKind::Label: return &as<Label>(e).Caption();
    case ElementKind::CommandButton: return &as<CommandButton>(e).Caption();
    case ElementKind::OptionButton: return &as<OptionButton>(e).Caption();
    case ElementKind::CheckBox: return &as<CheckBox>(e).Caption();
    case ElementKind::Frame: return &as<Frame>(e).Caption();
    case ElementKind::Menu: return &as<Menu>(e).Caption();
    case ElementKind::TextBox: property = Property::Text; return &as<TextBox>(e).Text();
    default: property = kNone; return nullptr;
  }
}

}  // namespace

FormSnapshot::FormSnapshot(Form& form)
    : form_(form),
      visible_(form.Visible()),
      focused_(form.focused()),
      defaultButton_(form.defaultButton()) {
  elements_.reserve(form.elements().size());
  for (Element* e : form.elements()) elements_.push_back(save(*e));
}

FormSnapshot::Saved FormSnapshot::save(Element& e) {
  Saved saved{&e, e.backColor(), e.foreColor(), e.enabled(), e.visible(), kNone, 0, kNone, {}};
  saved.number = ownNumber(e, saved.numberProperty);
  if (const std::string* text = ownText(e, saved.textProperty)) saved.text = *text;
  return saved;
}

void FormSnapshot::restore() const {
  for (const Saved& saved : elements_) restore(saved);
  if (form_.Visible() != visible_) form_.restore(Property::FormVisible, std::int64_t{visible_});
  if (form_.focused() != focused_) form_.restore(Property::Focus, focused_);
  if (form_.defaultButton() != defaultButton_) {
    form_.restore(Property::DefaultButton, static_cast<Element*>(defaultButton_));
  }
}

void FormSnapshot::restore(const Saved& saved) {
  Element& e = *saved.element;
  if (e.enabled() != saved.enabled) e.restore(Property::Enabled, std::int64_t{saved.enabled});
  if (e.visible() != saved.visible) e.restore(Property::Visible, std::int64_t{saved.visible});
  if (e.backColor() != saved.back) e.restore(Property::BackColor, std::int64_t{saved.back});
  if (e.foreColor() != saved.fore) e.restore(Property::ForeColor, std::int64_t{saved.fore});
  Property property = kNone;
  if (saved.numberProperty != kNone && ownNumber(e, property) != saved.number) {
    e.restore(property, saved.number);
  }
  const std::string* text = ownText(e, property);
  if (text && *text != saved.text) e.restore(property, saved.text);
}

}  // namespace volpar::ui
