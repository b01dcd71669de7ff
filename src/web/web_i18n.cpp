// SPDX-License-Identifier: GPL-3.0-or-later
// The page's own words in the language in use, from the program's catalogs: the page's
// tr("...") calls are extracted with the library's, so one catalog serves both.
#include <emscripten/bind.h>

#include <string>
#include <string_view>
#include <vector>

#include "i18n/languages.h"
#include "i18n/text.h"

namespace {

using emscripten::val;

std::string tr(const std::string& source) { return std::string(volpar::i18n::tr(source)); }

std::string trc(const std::string& context, const std::string& source) {
  return std::string(volpar::i18n::trc(context, source));
}

std::string trn(const std::string& one, const std::string& many, double n) {
  return std::string(volpar::i18n::trn(one, many, static_cast<long>(n)));
}

std::string shown(const std::string& text) { return std::string(volpar::i18n::shown(text)); }

// %1..%9 filled in from an array of strings, as the library fills its own.
std::string fill(const std::string& pattern, const val& args) {
  const auto parts = emscripten::vecFromJSArray<std::string>(args);
  const std::vector<std::string_view> views(parts.begin(), parts.end());
  return volpar::i18n::fill(pattern, views);
}

// [{code, name}]: English first, then every language with a catalog, by its own name.
val languages() {
  val list = val::array();
  for (const volpar::i18n::Language& l : volpar::i18n::languages()) {
    val entry = val::object();
    entry.set("code", std::string(l.code));
    entry.set("name", std::string(l.name));
    list.call<void>("push", entry);
  }
  return list;
}

std::string language() { return std::string(volpar::i18n::language()); }

std::string matchLanguage(const std::string& locale) {
  return std::string(volpar::i18n::matchLanguage(locale));
}

}  // namespace

EMSCRIPTEN_BINDINGS(volpar_i18n) {
  emscripten::function("tr", &tr);
  emscripten::function("trc", &trc);
  emscripten::function("trn", &trn);
  emscripten::function("shown", &shown);
  emscripten::function("fill", &fill);
  emscripten::function("languages", &languages);
  emscripten::function("language", &language);
  emscripten::function("matchLanguage", &matchLanguage);
}
