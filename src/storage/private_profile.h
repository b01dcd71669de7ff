// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace volpar::storage {

// The text of a private-profile (INI) file, read and edited in place the way the
// platform's private-profile functions treat a file:
// - a line "[name]" opens a section; a line "key=value" is an entry of the section above
//   it; lines starting with ";" are comments; blank lines are kept;
// - section and key names match without regard to letter case (ASCII); blanks around a key
//   and its value are ignored; one pair of matching quotes around a value is removed when
//   reading; only the first section of a name counts and, in it, the first entry of a key;
// - lines end in CRLF, LF or a lone CR, mixed if need be; a UTF-8 byte order mark at the
//   start is kept;
// - an edit changes only the line it is about, or adds lines: everything else stays byte
//   for byte as it was.
// Bytes outside ASCII are carried along untouched, whatever their encoding.
class PrivateProfile {
 public:
  PrivateProfile() = default;
  explicit PrivateProfile(std::string text) : text_(std::move(text)) {}

  const std::string& text() const { return text_; }
  std::string takeText() { return std::move(text_); }

  bool hasSection(std::string_view section) const;

  // Every section in the order of the text, with its entries as written: for files whose
  // every line must be accounted for. Lines before the first section are not listed.
  struct Listed {
    std::string key;
    std::optional<std::string> value;  // without surrounding blanks and quotes; none without "="
  };
  struct ListedSection {
    std::string name;
    std::vector<Listed> entries;
  };
  std::vector<ListedSection> sections() const;

  // The value of key in section, without surrounding blanks and quotes; nothing when the
  // section, the key or its "=" is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // The values of several distinct keys of one section, in the order asked, in one pass.
  std::vector<std::optional<std::string>> values(std::string_view section,
                                                 const std::vector<std::string>& keys) const;

  // Sets key in section to value. An existing entry becomes "Key=value", its key spelled as
  // the file spells it, its line ending kept; a missing key is added after the last
  // non-blank line of its section; a missing section is added at the end of the text.
  // Added lines end like the line they follow; after a last line without an ending, like
  // the first line that has one; in a text without any, in CRLF.
  void setValue(std::string_view section, std::string_view key, std::string_view value);

  struct Entry {
    std::string key;
    std::string value;
  };
  // Sets several distinct keys of one section in one pass, with the same result as
  // setValue for each in turn.
  void setValues(std::string_view section, const std::vector<Entry>& entries);

 private:
  std::string text_;
};

}  // namespace volpar::storage
