// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogs and their lookup: which language the system asks for, what a text becomes in
// each, and that a broken catalog or a missing text shows English, never a blank.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "i18n/embedded_catalogs.h"
#include "i18n/languages.h"
#include "i18n/mo_file.h"
#include "i18n/text.h"
#include "support/data_table.h"

namespace volpar::i18n {
namespace {

TEST(Languages, TheSystemsChoiceIsReadAsGettextReadsIt) {
  for (const testing::Row& row : testing::readTable("i18n/system_language.txt")) {
    std::map<std::string, std::string> env;
    std::istringstream names(row[0]);
    for (std::string pair; names >> pair;)
      env[pair.substr(0, pair.find('='))] = pair.substr(pair.find('=') + 1);
    const auto getenv = [&env](const char* name) {
      return env.contains(name) ? env[name].c_str() : nullptr;
    };
    EXPECT_EQ(systemLanguage(getenv), row[1]) << row[0];
  }
}

// Each language, and the pseudo-language, on a text, one with a context, a plural's forms, an
// accelerator, texts no catalog has and values; then what fill makes of a pattern.
TEST(Languages, EachSpeaksFromItsOwnCatalog) {
  std::vector<std::string> codes{std::string(kPseudo)};
  for (const Language& l : languages()) codes.emplace_back(l.code);
  std::string seen;
  for (const std::string& code : codes) {
    EXPECT_TRUE(setLanguage(std::string(code)));  // handed over in a string gone after the call
    const char *one = "%1 memory location changed", *many = "%1 memory locations changed";
    seen += std::string(language()) + ":";
    for (std::string_view s :
         {tr("Welcome to the VOLPAR Computer"), trc("register", "Output"), tr("&Open..."),
          trn(one, many, 0), trn(one, many, 1), trn(one, many, 2), tr("Not a text of ours"),
          trc("nowhere", "Not a text of ours"), trn("%1 thing", "%1 things", 2),
          shown("Welcome to the VOLPAR Computer"), shown("Welcome"), shown("12")})
      seen += " | " + std::string(s);
    seen += "\n";
  }
  // A value put where its placeholder stands, a placeholder with no value given left out.
  seen += fill("Address %1: %2 | %2 before %1 | %1% | %3 missing | ends with %", {"5", "LOAD 7"});
  seen += "\nxx " + std::to_string(setLanguage("xx")) + " leaves " + std::string(language()) + "\n";
  setLanguage("en");
  testing::expectGolden("i18n/lookup.txt", seen);
}

TEST(MoFile, ADamagedCatalogReadsAsFarAsItIsSound) {
  std::string_view de;
  for (std::size_t i = 0; i < kEmbeddedCatalogCount; ++i)
    if (kEmbeddedCatalogs[i].code == "de") de = kEmbeddedCatalogs[i].bytes;
  const Texts whole = readMoFile(de);
  EXPECT_EQ(whole.at("&Open..."), "&Öffnen...");
  EXPECT_EQ(whole.count(""), 0u) << "the header is no text";
  EXPECT_EQ(readMoFile(de.substr(0, de.size() - 4)).size(), whole.size() - 1)
      << "the entry that runs past the end is left out";
  EXPECT_TRUE(readMoFile("not a catalog at all, just text").empty());
  EXPECT_TRUE(readMoFile("").empty());
}

}  // namespace
}  // namespace volpar::i18n
