#include "storage/private_profile.h"

#include <cstddef>

namespace volpar::storage {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDefaultLineBreak = "\r\n";

// One line of the text: content [begin, end), then its line break up to next.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;

  bool hasBreak() const { return next > end; }
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
  const std::size_t brk = text.find_first_of("\r\n", begin);
  if (brk == std::string::npos) {
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

// Where a key of a section stands: the first section of that name, the first entry of
// the key in it, or else the last non-blank line of that section (its header at least).
struct Location {
  std::optional<Line> header;
  std::optional<Line> entry;
  Line lastFilled;
};

Location locate(const std::string& text, std::string_view section, std::string_view key) {
  Location at;
  forEachLine(text, [&](const Line& line, const ParsedLine& parsed) {
    if (parsed.kind == Kind::Section) {
      if (at.header) return false;  // the section has ended
      if (sameName(parsed.name, section)) at.header = at.lastFilled = line;
      return true;
    }
    if (!at.header || parsed.kind == Kind::Blank) return true;
    at.lastFilled = line;
    if (parsed.kind == Kind::Entry && !key.empty() && sameName(parsed.name, key)) {
      at.entry = line;
      return false;  // the first entry of the key is the one that counts
    }
    return true;
  });
  return at;
}

std::string_view lineBreakOf(const std::string& text) {
  const std::size_t brk = text.find_first_of("\r\n");
  if (brk == std::string::npos) return kDefaultLineBreak;
  if (text[brk] == '\r') return text.compare(brk, 2, "\r\n") == 0 ? "\r\n" : "\r";
  return "\n";
}

std::string withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// True when the text ends inside a line, so that something appended needs a line break.
bool endsInsideLine(const std::string& text) {
  if (text.size() <= firstLineStart(text)) return false;
  const char last = text.back();
  return last != '\n' && last != '\r';
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

std::optional<std::string> PrivateProfile::value(std::string_view section,
                                                 std::string_view key) const {
  const Location at = locate(text_, section, key);
  if (!at.entry) return std::nullopt;
  const ParsedLine parsed = parseLine(contentOf(text_, *at.entry));
  if (!parsed.value) return std::nullopt;
  return withoutQuotes(*parsed.value);
}

void PrivateProfile::setValue(std::string_view section, std::string_view key,
                              std::string_view value) {
  const Location at = locate(text_, section, key);
  const std::string lineBreak(lineBreakOf(text_));
  const std::string entry = std::string(key) + "=" + std::string(value);

  if (at.entry) {
    const std::string_view spelled = parseLine(contentOf(text_, *at.entry)).name;
    text_.replace(at.entry->begin, at.entry->end - at.entry->begin,
                  std::string(spelled) + "=" + std::string(value));
  } else if (at.header) {
    const std::string before = at.lastFilled.hasBreak() ? "" : lineBreak;
    text_.insert(at.lastFilled.next, before + entry + lineBreak);
  } else {
    if (endsInsideLine(text_)) text_ += lineBreak;
    text_ += "[" + std::string(section) + "]" + lineBreak + entry + lineBreak;
  }
}

}  // namespace volpar::storage
