// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessible_parts.h"

#include <cstddef>

#include "i18n/text.h"

namespace volpar::ui {

std::string currentRowMark() { return ", " + std::string(i18n::tr(kCurrentRowMark)); }

std::string tableNews(const ReadingTable& table, const std::vector<std::string>& before,
                      const std::vector<std::string>& now) {
  using i18n::fill, i18n::tr;
  const std::string mark = currentRowMark();
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
    const auto n = static_cast<long>(stored.size());
    said = fill(i18n::trn("%1 memory location changed", "%1 memory locations changed", n),
                {std::to_string(n)});
  } else if (stored.size() == 2) {
    // TRANSLATORS: news of two memory rows, each "Address 5: 00000101, LOAD 5".
    said = fill(tr("%1; %2 stored"), {stored.front(), stored.back()});
  } else if (!stored.empty()) {
    said = fill(tr("%1 stored"), {stored.front()});
  }
  const int next = table.current ? table.current() : -1;
  if (moved && next >= 0) {
    const std::string location = std::to_string(next);
    said += said.empty() ? fill(tr("Next location %1"), {location})
                         : "; " + fill(tr("next location %1"), {location});
  }
  return said;
}

}  // namespace volpar::ui
