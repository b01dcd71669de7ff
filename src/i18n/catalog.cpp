// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/catalog.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <utility>

#include "i18n/embedded_catalogs.h"
#include "i18n/languages.h"

namespace volpar::i18n {

namespace {

// The plural form for n, as each catalog's Plural-Forms header says it.
int oneOrMany(long n) { return n == 1 ? 0 : 1; }
int zeroAndOneAreOne(long n) { return n > 1 ? 1 : 0; }
int onlyOne(long) { return 0; }

struct PluralRule {
  std::string_view code;
  int (*form)(long);
};
constexpr std::array kPluralRules{PluralRule{"fr", zeroAndOneAreOne},
                                  PluralRule{"pt_BR", zeroAndOneAreOne},
                                  PluralRule{"zh_CN", onlyOne}};

int (*pluralRule(std::string_view code))(long) {
  for (const PluralRule& r : kPluralRules)
    if (r.code == code) return r.form;
  return oneOrMany;
}

std::string_view embedded(std::string_view code) {
  for (std::size_t i = 0; i < kEmbeddedCatalogCount; ++i)
    if (kEmbeddedCatalogs[i].code == code) return kEmbeddedCatalogs[i].bytes;
  return {};
}

// A source text in the pseudo-language: accented, 40 % longer and marked at both ends, with
// its placeholders (%1) and its accelerator's letter (&S) as they were.
std::string pseudoText(std::string_view source) {
  static constexpr std::array<std::string_view, 26> kAccented{
      "á", "ƀ", "ç", "ď", "é", "ƒ", "ĝ", "ĥ", "í", "ĵ", "ķ", "ĺ", "ḿ",
      "ñ", "ó", "þ", "ǫ", "ŕ", "š", "ť", "ú", "ṽ", "ŵ", "ẋ", "ý", "ž"};
  std::string out = "⟦";
  std::size_t letters = 0;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    const bool kept = (i > 0 && (source[i - 1] == '%' || source[i - 1] == '&'));
    const char lower = static_cast<char>(c | 0x20);
    if (!kept && lower >= 'a' && lower <= 'z') {
      out += kAccented[static_cast<std::size_t>(lower - 'a')];
    } else {
      out += c;
    }
    letters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  for (std::size_t pad = (letters * 2 + 4) / 5; pad > 0; --pad) out += "·";
  return out + "⟧";
}

}  // namespace

Catalog::Catalog(std::string_view code, Texts texts)
    : code_(code), texts_(std::move(texts)), form_(pluralRule(code)) {}

Catalog Catalog::pseudo() {
  Catalog c(kPseudo, {});
  for (const auto& [key, english] : readMoFile(embedded("en"))) {
    std::string forms;
    for (std::size_t start = 0; start <= english.size();) {
      const std::size_t end = std::min(english.find('\0', start), english.size());
      if (start > 0) forms += '\0';
      forms += pseudoText(english.substr(start, end - start));
      start = end + 1;
    }
    c.texts_.emplace(key, c.owned_.emplace_back(std::move(forms)));
  }
  return c;
}

const Catalog* Catalog::find(std::string_view code) {
  static std::mutex mutex;
  static std::map<std::string, Catalog, std::less<>> read;
  const std::lock_guard lock(mutex);
  if (const auto it = read.find(code); it != read.end()) return &it->second;
  if (code == kPseudo) return &read.emplace(std::string(code), pseudo()).first->second;
  const std::string_view bytes = embedded(code);
  if (bytes.empty() || code == "en") return nullptr;
  return &read.emplace(std::string(code), Catalog(code, readMoFile(bytes))).first->second;
}

std::string_view Catalog::text(std::string_view source) const {
  const auto it = texts_.find(source);
  return it == texts_.end() ? source : it->second;
}

std::string_view Catalog::text(std::string_view context, std::string_view source) const {
  std::string key;
  key.reserve(context.size() + 1 + source.size());
  key.append(context).append(1, '\x04').append(source);
  const auto it = texts_.find(key);
  return it == texts_.end() ? source : it->second;
}

std::string_view Catalog::plural(std::string_view one, std::string_view many, long n) const {
  const auto it = texts_.find(one);
  if (it == texts_.end()) return n == 1 ? one : many;
  std::string_view forms = it->second;
  for (int form = form_(n); form > 0; --form) {
    const std::size_t next = forms.find('\0');
    if (next == std::string_view::npos) return n == 1 ? one : many;
    forms.remove_prefix(next + 1);
  }
  return forms.substr(0, forms.find('\0'));
}

}  // namespace volpar::i18n
