// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled catalogs built into the program (generated at build time from po/).
#pragma once

#include <cstddef>
#include <string_view>

namespace volpar::i18n {

struct EmbeddedCatalog {
  std::string_view code;   // "en" holds every source text, translated to itself
  std::string_view bytes;  // the .mo file
};

extern const EmbeddedCatalog kEmbeddedCatalogs[];
extern const std::size_t kEmbeddedCatalogCount;

}  // namespace volpar::i18n
