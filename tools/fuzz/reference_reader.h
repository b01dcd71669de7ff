// SPDX-License-Identifier: GPL-3.0-or-later
// A program-file reader written the plainest way, line by line, for the fuzz target to
// compare the real reader and editor against. Slow and simple on purpose.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volpar::reference {

// One line: its bytes and the bytes that end it ("\r\n", "\n", "\r" or none).
struct Line {
  std::string text;
  std::string ending;
  bool operator==(const Line&) const = default;
};

inline std::vector<Line> splitLines(std::string_view all) {
  std::vector<Line> lines;
  std::size_t i = 0;
  while (i < all.size()) {
    Line line;
    while (i < all.size() && all[i] != '\r' && all[i] != '\n') line.text += all[i++];
    if (i < all.size() && all[i] == '\r') line.ending += all[i++];
    if (i < all.size() && all[i] == '\n') line.ending += all[i++];
    lines.push_back(line);
  }
  return lines;
}

inline bool blank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 26; }

inline std::string trimmed(std::string s) {
  while (!s.empty() && blank(s.front())) s.erase(0, 1);
  while (!s.empty() && blank(s.back())) s.pop_back();
  return s;
}

inline std::string lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// The text of line `i` as the reader sees it: a byte order mark before the first is skipped.
inline std::string content(const std::vector<Line>& lines, std::size_t i) {
  std::string text = lines[i].text;
  if (i == 0 && text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return trimmed(text);
}

// The name of a section header "[name]" (up to its last ']'), or nothing.
inline std::optional<std::string> header(const std::string& text) {
  if (text.empty() || text[0] != '[') return std::nullopt;
  const std::size_t close = text.rfind(']');
  if (close == std::string::npos || close == 0) return std::nullopt;
  return text.substr(1, close - 1);
}

// Where each entry that counts stands, found in one pass: for each section name (in lower
// case) that the text has, the line of the first entry of each key (in lower case) in the
// first section of that name.
using Index = std::map<std::string, std::map<std::string, std::size_t>>;

inline Index index(const std::vector<Line>& lines) {
  Index sections;
  std::map<std::string, std::size_t>* current = nullptr;  // a first section, or none
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string text = content(lines, i);
    if (auto name = header(text)) {
      const bool first = sections.count(lower(*name)) == 0;
      current = first ? &sections[lower(*name)] : nullptr;
      continue;
    }
    if (!current || text.empty() || text[0] == ';') continue;
    current->emplace(lower(trimmed(text.substr(0, text.find('=')))), i);
  }
  return sections;
}

inline std::optional<std::size_t> entryLine(const Index& at, const std::string& section,
                                            const std::string& key) {
  const auto s = at.find(lower(section));
  if (s == at.end()) return std::nullopt;
  const auto k = s->second.find(lower(key));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

inline bool hasSection(const Index& at, const std::string& section) {
  return at.count(lower(section)) != 0;
}

// The value of key in the first section named `section`, one pair of quotes removed; ""
// when the key or its '=' is missing.
inline std::string value(const std::vector<Line>& lines, const Index& entries,
                         const std::string& section, const std::string& key) {
  const auto at = entryLine(entries, section, key);
  if (!at) return "";
  const std::string text = content(lines, *at);
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos) return "";
  std::string v = trimmed(text.substr(eq + 1));
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
    v = v.substr(1, v.size() - 2);
  return v;
}

}  // namespace volpar::reference
