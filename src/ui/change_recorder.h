// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace volpar::ui {

class Element;
class Form;

// The properties that change after a form is built. Layout (place, font, size) never does.
enum class Property : std::uint8_t {
  FillColor,  // Shape
  Caption,    // Label, CommandButton, OptionButton, CheckBox, Frame, Menu
  Text,       // TextBox
  Selection,  // TextBox: start in the low 16 bits, length in the high 16 bits
  Enabled,
  Visible,
  Value,  // OptionButton, CheckBox, HScrollBar
  BackColor,
  ForeColor,
  Interval,  // Timer
  // Properties of the form itself; the element is null when they are reported.
  FormVisible,
  Focus,          // the element with the focus
  DefaultButton,  // the button Enter presses
};

// A property's value: a number (colour, flag, value, interval, selection), a text, or an
// element (focus, default button; null for none).
using PropertyValue = std::variant<std::int64_t, std::string, Element*>;

// Hears of every real property change just before it happens, with the value the property
// still holds. An undo journal listens here; a renderer listens to FormObserver, after the
// change. With no recorder attached a setter pays one pointer test.
class ChangeRecorder {
 public:
  virtual ~ChangeRecorder() = default;
  // `element` is null for a property of the form itself.
  virtual void willChange(Form& form, Element* element, Property property,
                          const PropertyValue& old) = 0;
};

inline std::int64_t packSelection(int start, int length) {
  return static_cast<std::int64_t>(static_cast<std::uint16_t>(start)) |
         (static_cast<std::int64_t>(static_cast<std::uint16_t>(length)) << 16);
}
inline int selectionStart(std::int64_t packed) { return static_cast<int>(packed & 0xFFFF); }
inline int selectionLength(std::int64_t packed) {
  return static_cast<int>((packed >> 16) & 0xFFFF);
}

}  // namespace volpar::ui
