// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "qt/element_painter.h"
#include "ui/element.h"

namespace volpar::qt {

// The elements a user works with directly are real widgets: buttons, text boxes, option
// buttons, check boxes and scroll bars.
bool isControl(ui::ElementKind kind);

// A widget for a control element, or nullptr for any other kind.
QWidget* createControl(const ui::Element& element, QWidget* parent);

// Brings the widget in line with the element: caption or text, value, limits, colours,
// font, enabled and visible. Raises no signal that the windows forward to the program.
void syncControl(QWidget& widget, const ui::Element& element, const TwipScale& ts);

// A text box's selection and caret as the program set them.
void syncSelection(QWidget& widget, const ui::TextBox& box);

// What the user has typed: the text and the caret position.
struct TypedText {
  std::string text;
  int caret = 0;
};
TypedText typedText(const QWidget& widget);

}  // namespace volpar::qt
