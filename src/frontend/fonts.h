// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ui/element.h"

namespace volpar::frontend {

// The generic family a front end falls back on when none of the named ones is installed.
enum class GenericFamily { Sans, Mono };

// The families a face the screens name is drawn with, best first.
struct FontFamilies {
  std::vector<std::string> names;
  GenericFamily generic = GenericFamily::Sans;
};

// Free fonts of the same size and weight as the faces the screens name ("MS Sans
// Serif", "System", "Courier"), with the system's own equivalents after them.
FontFamilies fontFamilies(const ui::Font& font);

// The families as a CSS font-family list, each name quoted.
std::string cssFontFamily(const ui::Font& font);

// A point is 96/72 pixels at scale 1; a font is at least a pixel high.
int fontPixels(double points, double scale);

}  // namespace volpar::frontend
