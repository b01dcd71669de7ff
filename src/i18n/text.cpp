// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/text.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>

#include "i18n/catalog.h"
#include "i18n/languages.h"

namespace volpar::i18n {

namespace {

std::atomic<const Catalog*> current{nullptr};

bool hasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
  });
}

}  // namespace

bool setLanguage(std::string_view code) {
  if (code == "en") {
    current = nullptr;
    return true;
  }
  const Catalog* catalog = Catalog::find(code);
  if (!catalog) return false;
  current = catalog;
  return true;
}

std::string_view language() {
  const Catalog* catalog = current;
  return catalog ? catalog->code() : "en";
}

std::string_view tr(std::string_view source) {
  const Catalog* catalog = current;
  return catalog ? catalog->text(source) : source;
}

std::string_view trc(std::string_view context, std::string_view source) {
  const Catalog* catalog = current;
  return catalog ? catalog->text(context, source) : source;
}

std::string_view trn(std::string_view one, std::string_view many, long n) {
  const Catalog* catalog = current;
  return catalog ? catalog->plural(one, many, n) : (n == 1 ? one : many);
}

std::string_view shown(std::string_view text) {
  const Catalog* catalog = current;
  return catalog && hasLetter(text) ? catalog->text(text) : text;
}

std::string fill(std::string_view pattern, std::span<const std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] != '%' || next < '1' || next > '9') {
      out += pattern[i];
      continue;
    }
    ++i;
    if (const auto k = static_cast<std::size_t>(next - '1'); k < args.size()) out += args[k];
  }
  return out;
}

}  // namespace volpar::i18n
