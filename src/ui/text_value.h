// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace volpar::ui {

// The numeric value of a text as captions and text boxes are read back: blanks, tabs and
// line feeds are skipped, then an optional sign, digits, an optional fraction and an
// optional exponent are read as far as they go; "&H" and "&O" start hexadecimal and octal
// numbers. A text that does not start with a number is 0. Never throws.
double Val(std::string_view text);

// Val of a text already known to hold a plain decimal number that fits: the fast path
// for the captions the engine writes itself ("0" to "255"); anything else goes to Val.
int ValInt(std::string_view text);

}  // namespace volpar::ui
