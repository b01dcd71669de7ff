// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/private_profile.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace volpar::storage {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDefaultLineBreak = "\r\n";

// One line of the text: content [begin, end), then its line break up to next.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

enum class Kind { Blank, Comment, Section, Entry };

struct ParsedLine {
  Kind kind = Kind::Blank;
  std::string_view name;                  // section or key name
  std::optional<std::string_view> value;  // entries with "=" only
};

// Blanks that surround names and values; Ctrl-Z is the old end-of-file mark.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::size_t firstLineStart(const std::string& text) {
  return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

Line lineAt(const std::string& text, std::size_t begin) {
  Line line{begin, begin, begin};
  std::size_t brk = begin;
  while (brk < text.size() && text[brk] != '\n' && text[brk] != '\r') ++brk;
  if (brk == text.size()) {
    line.end = line.next = text.size();
  } else {
    line.end = brk;
    line.next = brk + 1;
    if (text[brk] == '\r' && line.next < text.size() && text[line.next] == '\n') ++line.next;
  }
  return line;
}

ParsedLine parseLine(std::string_view content) {
  const std::string_view s = trim(content);
  if (s.empty()) return {};
  if (s.front() == ';') return {Kind::Comment, {}, {}};
  if (s.front() == '[') {
    const std::size_t close = s.rfind(']');
    if (close != std::string_view::npos && close > 0)
      return {Kind::Section, s.substr(1, close - 1), {}};
  }
  const std::size_t eq = s.find('=');
  if (eq == std::string_view::npos) return {Kind::Entry, s, std::nullopt};
  return {Kind::Entry, trim(s.substr(0, eq)), trim(s.substr(eq + 1))};
}

std::string_view contentOf(const std::string& text, const Line& line) {
  return std::string_view(text).substr(line.begin, line.end - line.begin);
}

// Calls visit(line, parsed) for each line in order until it returns false.
template <class Visit>
void forEachLine(const std::string& text, Visit visit) {
  for (std::size_t pos = firstLineStart(text); pos < text.size();) {
    const Line line = lineAt(text, pos);
    if (!visit(line, parseLine(contentOf(text, line)))) return;
    pos = line.next;
  }
}

// What one pass over the first section of a name found: its header, the first entry of
// each key asked for, and the last non-blank line of the section (its header at least).
struct SectionScan {
  std::optional<Line> header;
  std::vector<std::optional<Line>> entries;
  Line lastFilled;
};

// Keys must be distinct. Stops as soon as the section ends or every key is found.
SectionScan scanSection(const std::string& text, std::string_view section,
                        const std::vector<std::string_view>& keys) {
  SectionScan at;
  at.entries.resize(keys.size());
  std::size_t missing = keys.size();
  forEachLine(text, [&](const Line& line, const ParsedLine& parsed) {
    if (parsed.kind == Kind::Section) {
      if (at.header) return false;  // the section has ended
      if (sameName(parsed.name, section)) at.header = at.lastFilled = line;
      return true;
    }
    if (!at.header || parsed.kind == Kind::Blank) return true;
    at.lastFilled = line;
    if (parsed.kind != Kind::Entry) return true;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (!at.entries[i] && !keys[i].empty() && sameName(parsed.name, keys[i])) {
        at.entries[i] = line;  // the first entry of a key is the one that counts
        --missing;
        break;
      }
    }
    return missing > 0;
  });
  return at;
}

// How lines end in this text: like its first line that has an ending, CRLF otherwise.
std::string_view usualLineBreak(const std::string& text) {
  const std::size_t brk = text.find_first_of("\r\n");
  if (brk == std::string::npos) return kDefaultLineBreak;
  if (text[brk] == '\r') return text.compare(brk, 2, "\r\n") == 0 ? "\r\n" : "\r";
  return "\n";
}

// The line break that ends just before pos, if one does.
std::optional<std::string_view> lineBreakEndingAt(const std::string& text, std::size_t pos) {
  if (pos >= 2 && text.compare(pos - 2, 2, "\r\n") == 0) return "\r\n";
  if (pos >= 1 && text[pos - 1] == '\n') return "\n";
  if (pos >= 1 && text[pos - 1] == '\r') return "\r";
  return std::nullopt;
}

std::string withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

bool PrivateProfile::hasSection(std::string_view section) const {
  bool found = false;
  forEachLine(text_, [&](const Line&, const ParsedLine& parsed) {
    found = parsed.kind == Kind::Section && sameName(parsed.name, section);
    return !found;
  });
  return found;
}

std::vector<PrivateProfile::ListedSection> PrivateProfile::sections() const {
  std::vector<ListedSection> listed;
  forEachLine(text_, [&](const Line&, const ParsedLine& parsed) {
    if (parsed.kind == Kind::Section) {
      listed.push_back({std::string(parsed.name), {}});
    } else if (parsed.kind == Kind::Entry && !listed.empty()) {
      std::optional<std::string> value;
      if (parsed.value) value = withoutQuotes(*parsed.value);
      listed.back().entries.push_back({std::string(parsed.name), std::move(value)});
    }
    return true;
  });
  return listed;
}

std::optional<std::string> PrivateProfile::value(std::string_view section,
                                                 std::string_view key) const {
  return values(section, {std::string(key)}).front();
}

std::vector<std::optional<std::string>> PrivateProfile::values(
    std::string_view section, const std::vector<std::string>& keys) const {
  const SectionScan at = scanSection(text_, section, {keys.begin(), keys.end()});
  std::vector<std::optional<std::string>> found(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (!at.entries[i]) continue;
    const ParsedLine parsed = parseLine(contentOf(text_, *at.entries[i]));
    if (parsed.value) found[i] = withoutQuotes(*parsed.value);
  }
  return found;
}

void PrivateProfile::setValue(std::string_view section, std::string_view key,
                              std::string_view value) {
  setValues(section, {{std::string(key), std::string(value)}});
}

void PrivateProfile::setValues(std::string_view section, const std::vector<Entry>& entries) {
  if (entries.empty()) return;
  std::vector<std::string_view> keys;
  for (const Entry& e : entries) keys.push_back(e.key);
  const SectionScan at = scanSection(text_, section, keys);

  struct Edit {
    std::size_t at, length;
    std::string text;
  };
  std::vector<Edit> edits;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!at.entries[i]) continue;
    const Line& line = *at.entries[i];
    const std::string_view spelled = parseLine(contentOf(text_, line)).name;
    edits.push_back(
        {line.begin, line.end - line.begin, std::string(spelled) + "=" + entries[i].value});
  }

  // Added lines end like the line they follow. (A lone CR added before a line that starts
  // with LF would merge with it into one CRLF and swallow that line.)
  const std::size_t insertAt = at.header ? at.lastFilled.next : text_.size();
  const std::optional<std::string_view> ending = lineBreakEndingAt(text_, insertAt);
  const std::string lineBreak(ending.value_or(usualLineBreak(text_)));
  std::string added;  // the keys the section lacks, under a new header if it lacks that too
  if (!at.header) added = "[" + std::string(section) + "]" + lineBreak;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!at.entries[i]) added += entries[i].key + "=" + entries[i].value + lineBreak;
  }
  if (!added.empty()) {
    const bool endsInsideLine = !ending && insertAt > firstLineStart(text_);
    edits.push_back({insertAt, 0, (endsInsideLine ? lineBreak : "") + added});
  }
  // From the end backwards, so that the positions still to edit stay where they were.
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at > b.at; });
  for (const Edit& e : edits) text_.replace(e.at, e.length, e.text);
}

}  // namespace volpar::storage
