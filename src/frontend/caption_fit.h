// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "i18n/text.h"
#include "ui/element.h"

namespace volpar::frontend {

// The free substitute fonts run a little wider than the ones the layout was made for: a
// caption that does not fit its box is narrowed in steps, down to 70 % of its width.
inline constexpr std::array<int, 6> kCaptionSteps = {100, 94, 88, 82, 76, 70};
// A caption whose glyphs still do not fit is made smaller, a pixel at a time, down to this.
inline constexpr int kSmallestCaptionPixels = 6;

// What a text box shows: the student's own text as it is; a fixed text that is no Tab stop
// (the welcome screen's) in the language in use.
inline std::string_view boxText(const ui::TextBox& box) {
  return box.TabStop() ? std::string_view(box.Text()) : i18n::shown(box.Text());
}

// The first step, in percent, at which fits(percent) says the caption fits its box. A
// caption that fits at none keeps 100 % and is cut at the box.
int fitCaption(const std::function<bool(int percent)>& fits);

// A caption's font: its pixel size and its width in percent.
struct CaptionFont {
  int pixels;
  int stretch;
};
// The largest, then least narrowed, font from `pixels` down to kSmallestCaptionPixels at
// which fits(font) says the caption fits its box; the font as it is when none does. Each
// front end measures with its own text layout.
CaptionFont fitCaptionFont(int pixels, const std::function<bool(CaptionFont)>& fits);

// A label on a colour of its own (a register's number, the memory heading) is seen as a
// box, and a lone sign stands between cells: their glyphs stand in the middle of the box;
// any other caption from its top-left corner.
bool captionCentred(const ui::Label& label);

}  // namespace volpar::frontend
