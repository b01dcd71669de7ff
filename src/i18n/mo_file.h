// SPDX-License-Identifier: GPL-3.0-or-later
// A compiled catalog (msgfmt's .mo file) read into a table of its texts.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

namespace volpar::i18n {

// Source text → translation, both pointing into the file's bytes, which must outlive the
// table. A text with a context is keyed "context\x04source"; a plural entry by its singular,
// its forms separated by '\0'. Untranslated and header entries are left out. A damaged file
// reads as far as it is sound and no further.
using Texts = std::unordered_map<std::string_view, std::string_view>;
Texts readMoFile(std::string_view bytes);

}  // namespace volpar::i18n
