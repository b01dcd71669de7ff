// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessible_parts.h"

#include <cstddef>

namespace volpar::ui {

std::string tableNews(const ReadingTable& table, const std::vector<std::string>& before,
                      const std::vector<std::string>& now) {
  const std::string mark = std::string(", ") + kCurrentRowMark;
  const auto unmarked = [&mark](const std::string& text) {
    return text.ends_with(mark) ? text.substr(0, text.size() - mark.size()) : text;
  };
  std::vector<std::string> stored;
  bool moved = false;
  for (std::size_t i = 0; i < now.size() && i < before.size() && i < table.rows.size(); ++i) {
    if (now[i] == before[i]) continue;
    moved = moved || now[i].ends_with(mark);
    if (unmarked(now[i]) != unmarked(before[i])) {
      stored.push_back(table.rows[i].name + ": " + unmarked(now[i]));
    }
  }
  std::string said;
  if (stored.size() > 2) {
    said = std::to_string(stored.size()) + " memory locations changed";
  } else if (!stored.empty()) {
    said = stored.front() + (stored.size() == 2 ? "; " + stored.back() : "") + " stored";
  }
  const int next = table.current ? table.current() : -1;
  if (moved && next >= 0) {
    said += (said.empty() ? "Next" : "; next") + std::string(" location ") + std::to_string(next);
  }
  return said;
}

}  // namespace volpar::ui
