// SPDX-License-Identifier: GPL-3.0-or-later
// The words a user reads, in the language chosen. Every text is written in English in the
// code, as its source; the catalogs in po/ give its translations, and a text a catalog lacks
// is shown in English. The functions' names are the marks the extraction looks for:
//   tr("Save")                  a text, translated now
//   trc("menu", "View")         the same, where one English word has two meanings
//   trn("%1 byte", "%1 bytes", n) the form for the number n (fill in n with fill())
//   mark("Step")                only marked: translated where it is shown (shown())
// Arguments are never glued to translated pieces: fill("Address %1", {"5"}) puts them in.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace volpar::i18n {

std::string_view tr(std::string_view source);
std::string_view trc(std::string_view context, std::string_view source);
std::string_view trn(std::string_view one, std::string_view many, long n);
constexpr const char* mark(const char* source) { return source; }

// A caption or text that comes from the element model, shown in the language chosen: the
// model keeps the English, which the machine and its tests read; only the drawing translates.
// A text with no letter (a number, a bit) is never looked up.
std::string_view shown(std::string_view text);

// The pattern with %1 ... %9 replaced by the arguments (a missing argument by nothing).
std::string fill(std::string_view pattern, std::span<const std::string_view> args);
inline std::string fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
  return fill(pattern, std::span(args.begin(), args.size()));
}

}  // namespace volpar::i18n
