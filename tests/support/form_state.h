// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/colors.h"
#include "ui/element.h"
#include "ui/form.h"

namespace volpar::testing {

// A colour by the name a person would give it, or its number.
inline std::string colorName(ui::Color c) {
  const std::pair<ui::Color, const char*> names[] = {{ui::kWhite, "white"},
                                                     {ui::kYellow, "yellow"},
                                                     {ui::kRed, "red"},
                                                     {ui::kGreen, "green"},
                                                     {ui::kCyan, "cyan"},
                                                     {ui::kBlack, "black"},
                                                     {ui::kLightYellow, "lightyellow"},
                                                     {ui::kLightGreen, "lightgreen"},
                                                     {ui::kLightGrey, "lightgrey"},
                                                     {ui::kPanelGrey, "panelgrey"},
                                                     {ui::kWindowBackground, "window"},
                                                     {ui::kWindowText, "windowtext"},
                                                     {ui::kButtonFace, "buttonface"},
                                                     {ui::kInherit, "inherit"}};
  for (auto [color, name] : names)
    if (c == color) return name;
  return std::to_string(c);
}

// Everything a student can see of a form, one line each: the form's own state, then every
// property of every element.
inline std::vector<std::string> formState(ui::Form& form) {
  std::vector<std::string> out{form.name() + " visible " + std::to_string(form.Visible()) +
                               " focus " + (form.focused() ? form.focused()->displayName() : "-") +
                               " default " +
                               (form.defaultButton() ? form.defaultButton()->name() : "-")};
  for (ui::Element* e : form.elements()) {
    std::ostringstream s;
    s << e->displayName() << ' ' << e->enabled() << e->visible() << ' ' << colorName(e->backColor())
      << ' ' << colorName(e->foreColor());
    if (auto* shape = dynamic_cast<ui::Shape*>(e)) s << " fill " << colorName(shape->FillColor());
    if (auto* label = dynamic_cast<ui::Label*>(e)) s << " '" << label->Caption() << "'";
    if (auto* button = dynamic_cast<ui::CommandButton*>(e)) s << " '" << button->Caption() << "'";
    if (auto* box = dynamic_cast<ui::TextBox*>(e))
      s << " '" << box->Text() << "' " << box->SelStart() << '+' << box->SelLength();
    if (auto* option = dynamic_cast<ui::OptionButton*>(e)) s << " value " << option->Value();
    if (auto* check = dynamic_cast<ui::CheckBox*>(e)) s << " value " << check->Value();
    if (auto* scroll = dynamic_cast<ui::HScrollBar*>(e)) s << " value " << scroll->Value();
    if (auto* timer = dynamic_cast<ui::Timer*>(e)) s << " interval " << timer->Interval();
    if (auto* frame = dynamic_cast<ui::Frame*>(e)) s << " '" << frame->Caption() << "'";
    out.push_back(s.str());
  }
  return out;
}

}  // namespace volpar::testing
