// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace volpar::runner {

// Texts from files (names, titles, messages) made safe for each report format. Each first
// replaces bytes that are not UTF-8 with U+FFFD, so that every report is valid UTF-8.

// Line breaks become blanks: one record stays on one line.
std::string oneLine(std::string_view text);
// A JSON string literal, quotes included (also a valid YAML scalar).
std::string jsonString(std::string_view text);
// Text for XML content or an attribute value; characters XML 1.0 forbids become U+FFFD.
std::string xmlText(std::string_view text);
// A TAP test point description: on one line, "#" escaped so that it starts no directive.
std::string tapDescription(std::string_view text);

}  // namespace volpar::runner
