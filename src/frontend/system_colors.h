// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/colors.h"

namespace volpar::frontend {

// The parts of the desktop's colour scheme the screens name by system colour.
enum class SystemRole {
  Window,  // any index the program does not use
  Base,    // window background
  Text,    // window text
  Highlight,
  HighlightedText,
  Button,  // button face
  Dark,    // button shadow
  ButtonText,
  Light,  // button highlight
};

// A system colour (0x800000nn): the role a toolkit's palette gives it, the name the page's
// style sheet knows it by (the custom property --sys-NAME, set from this table), and the
// colour a page without a palette draws it in.
struct SystemColor {
  SystemRole role;
  const char* name;
  const char* css;
};
SystemColor systemColor(ui::Color color);
// Every role once, for the page's style sheet.
inline constexpr SystemColor kSystemColors[] = {
    {SystemRole::Window, "window", "#f0f0f0"},
    {SystemRole::Base, "base", "#ffffff"},
    {SystemRole::Text, "text", "#000000"},
    {SystemRole::Highlight, "highlight", "#0077d7"},
    {SystemRole::HighlightedText, "highlighted-text", "#ffffff"},
    {SystemRole::Button, "button", "#f0f0f0"},
    {SystemRole::Dark, "dark", "#a0a0a0"},
    {SystemRole::ButtonText, "button-text", "#000000"},
    {SystemRole::Light, "light", "#ffffff"},
};

// The red, green and blue of a fixed colour, which the model stores as 0xBBGGRR.
struct Rgb {
  int red, green, blue;
};
Rgb rgbOf(ui::Color color);

// "#rrggbb" for the model's 0xBBGGRR or a system colour; the fallback for kInherit.
std::string cssColor(ui::Color color, const std::string& fallback);

}  // namespace volpar::frontend
