// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace volpar::assembly {

// The lines of a text, without their endings (LF, CR LF or CR) and without a UTF-8 byte
// order mark at the start. A text that ends with a line ending has no empty last line.
std::vector<std::string_view> splitLines(std::string_view text);

// Which of the two kinds of file a text is: a program file when its first line that is
// neither blank nor a comment (";") is a section header ("[First8]"), else program text.
// An empty text is program text (an empty program); content that is not text at all
// (binary, UTF-16, over the size limit) is not, and is refused as a program file.
bool isProgramText(std::string_view content);

}  // namespace volpar::assembly
