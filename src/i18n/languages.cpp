// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/languages.h"

#include <array>

namespace volpar::i18n {

namespace {

bool plainC(std::string_view locale) {
  return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

constexpr std::array<Language, 6> kLanguages{{
    {"en", "English"},
    {"de", "Deutsch"},
    {"es", "Español"},
    {"fr", "Français"},
    {"pt_BR", "Português (Brasil)"},
    {"zh_CN", "简体中文"},
}};

}  // namespace

std::span<const Language> languages() { return kLanguages; }

std::string_view matchLanguage(std::string_view locale) {
  if (plainC(locale)) return "en";
  // "ll_CC.charset@modifier": the language and its country are what a catalog is named for.
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  const std::string_view lang = name.substr(0, name.find('_'));
  // Portuguese readers get the Brazilian catalog and Chinese ones the simplified one: nearer
  // to them than English.
  if (lang == "pt") return "pt_BR";
  if (lang == "zh") return "zh_CN";
  for (const Language& l : kLanguages)
    if (l.code == lang) return l.code;
  return "";
}

std::string_view systemLanguage(const Environment& getenv) {
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(name);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  // As gettext does: LANGUAGE's list is tried first, unless the locale is plainly C.
  if (const char* list = getenv("LANGUAGE"); list && *list && !plainC(locale)) {
    std::string_view rest = list;
    while (!rest.empty()) {
      const std::size_t colon = rest.find(':');
      if (const std::string_view found = matchLanguage(rest.substr(0, colon)); !found.empty())
        return found;
      rest = colon == std::string_view::npos ? "" : rest.substr(colon + 1);
    }
  }
  const std::string_view found = matchLanguage(locale);
  return found.empty() ? "en" : found;
}

}  // namespace volpar::i18n
