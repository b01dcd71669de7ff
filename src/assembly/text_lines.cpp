// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/text_lines.h"

#include "storage/program_file_text.h"

namespace volpar::assembly {

std::vector<std::string_view> splitLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", from);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(from));
      break;
    }
    lines.push_back(text.substr(from, end - from));
    from = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

bool isProgramText(std::string_view content) {
  if (storage::textProblem(content)) return false;
  for (std::string_view line : splitLines(content)) {
    const std::size_t first = line.find_first_not_of(" \t\v\f");
    if (first == std::string_view::npos || line[first] == ';') continue;
    return line[first] != '[';
  }
  return true;
}

}  // namespace volpar::assembly
