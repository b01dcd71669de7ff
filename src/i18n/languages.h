// SPDX-License-Identifier: GPL-3.0-or-later
// The languages VOLPAR speaks, the one in use, and how the system's choice is read.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace volpar::i18n {

struct Language {
  std::string_view code;  // as the catalog's file is named: "de", "pt_BR"
  std::string_view name;  // in the language itself, as a menu lists it
};

// English first, then the translated languages. The pseudo-language is not listed.
std::span<const Language> languages();

// Every text marked and 40 % longer, with accented letters: what a text left out of the
// catalog or cut off looks like at once.
inline constexpr std::string_view kPseudo = "x-pseudo";

// Makes a listed language (or the pseudo-language) the one in use; false, and no change,
// for a code that is neither. "en" is English.
bool setLanguage(std::string_view code);
std::string_view language();

// The listed language a locale name means, or "" for none: "de_DE.UTF-8" is "de", "pt_PT" the
// Brazilian catalog, "zh_TW" the Chinese one, "C" and "POSIX" English.
std::string_view matchLanguage(std::string_view locale);

// The language the system asks for, as gettext reads it: LANGUAGE (a list, tried in turn),
// then LC_ALL, LC_MESSAGES and LANG, the first one set; English when none is listed.
using Environment = std::function<const char*(const char*)>;
std::string_view systemLanguage(const Environment& getenv);

}  // namespace volpar::i18n
