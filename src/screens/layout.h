// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/colors.h"
#include "ui/element.h"

// The steps with which both screens lay out their elements. Places are in twips,
// relative to the form, or to the frame `in` when one is given.
namespace volpar::screens {

// The bold font of the screens' prompts and of the clock's Slow and Fast.
inline const ui::Font kSystemBold{"System", 9.75, true};

void put(ui::Element& e, ui::Rect r, ui::Frame* in = nullptr);

// kInherit shares the colour of the form or frame the label stands in.
void putLabel(ui::Label& l, std::string caption, ui::Rect r, ui::Color back = ui::kInherit,
              ui::Frame* in = nullptr);

void putButton(ui::CommandButton& b, std::string caption, ui::Rect r,
               ui::Color back = ui::kButtonFace, ui::Frame* in = nullptr);

void putFrame(ui::Frame& f, std::string caption, ui::Rect r, ui::Color back);

}  // namespace volpar::screens
