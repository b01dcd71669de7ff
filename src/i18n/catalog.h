// SPDX-License-Identifier: GPL-3.0-or-later
// One language's catalog: its texts, read once from the compiled catalog built into the
// program, and its rule for plural forms.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "i18n/mo_file.h"

namespace volpar::i18n {

class Catalog {
 public:
  // The catalog of a language built into the program, read at its first use; null for none.
  // Catalogs live as long as the program: a text handed out stays valid.
  static const Catalog* find(std::string_view code);

  std::string_view code() const { return code_; }
  // The translation, or the source itself where the catalog has none.
  std::string_view text(std::string_view source) const;
  std::string_view text(std::string_view context, std::string_view source) const;
  std::string_view plural(std::string_view one, std::string_view many, long n) const;

 private:
  Catalog(std::string_view code, Texts texts);
  static Catalog pseudo();

  std::string code_;
  Texts texts_;
  int (*form_)(long n);
  std::deque<std::string> owned_;  // the pseudo-language's texts
};

}  // namespace volpar::i18n
