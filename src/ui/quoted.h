// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace volpar::ui {

// A file name or argument as every message shows it: in double quotes, on one line and
// free of terminal escapes. Control characters (those of UTF-8 too), invisible and
// direction-changing characters and bytes that are not UTF-8 are written as C escapes
// ("\n", "\t", "\x1b", "\u0085", "\u202e", "\xff"), and so are a backslash and a double
// quote, so that what stands between the quotes can be read back exactly.
std::string quoted(std::string_view text);

}  // namespace volpar::ui
