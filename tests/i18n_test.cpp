// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogs and their lookup: which language the system asks for, what a text becomes in
// each, and that a broken catalog or a missing text shows English, never a blank.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "i18n/languages.h"
#include "i18n/mo_file.h"
#include "i18n/text.h"

namespace volpar::i18n {
namespace {

struct English : ::testing::Test {
  ~English() override { setLanguage("en"); }
};

TEST(Languages, TheSystemsChoiceIsReadAsGettextReadsIt) {
  struct Case {
    std::map<std::string, std::string> env;
    std::string_view expected;
  };
  const Case cases[] = {
      {{}, "en"},
      {{{"LANG", "de_DE.UTF-8"}}, "de"},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}, "fr"},
      {{{"LC_ALL", "es_MX.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}, "es"},
      {{{"LANGUAGE", "sv:pt_PT:de"}, {"LANG", "sv_SE.UTF-8"}}, "pt_BR"},
      {{{"LANGUAGE", "zh_TW"}}, "zh_CN"},
      {{{"LANGUAGE", "de"}, {"LANG", "C"}}, "en"},
      {{{"LANG", "ja_JP.UTF-8"}}, "en"},
      {{{"LANG", "fr_CA@euro"}}, "fr"},
      {{{"LANGUAGE", ""}, {"LANG", "pt_BR.UTF-8"}}, "pt_BR"},
  };
  for (const Case& c : cases) {
    const auto getenv = [&c](const char* name) -> const char* {
      const auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    };
    std::string shown;
    for (const auto& [k, v] : c.env) shown += k + "=" + v + " ";
    EXPECT_EQ(systemLanguage(getenv), c.expected) << shown;
  }
}

TEST_F(English, EveryListedLanguageHasItsCatalogAndSpeaksIt) {
  for (const Language& l : languages()) {
    // Handed over as a page or a command line hands it: in a string gone after the call.
    ASSERT_TRUE(setLanguage(std::string(l.code))) << l.code;
    EXPECT_EQ(language(), l.code);
    const std::string_view welcome = tr("Welcome to the VOLPAR Computer");
    EXPECT_EQ(welcome == "Welcome to the VOLPAR Computer", l.code == "en")
        << l.code << ": " << welcome;
  }
  EXPECT_FALSE(setLanguage("xx"));
  EXPECT_EQ(language(), languages().back().code) << "an unknown code changes nothing";
}

TEST_F(English, ATextNoCatalogHasIsShownInEnglish) {
  for (const Language& l : languages()) {
    setLanguage(l.code);
    EXPECT_EQ(tr("Not a text of ours"), "Not a text of ours");
    EXPECT_EQ(trc("nowhere", "Not a text of ours"), "Not a text of ours");
    EXPECT_EQ(trn("%1 thing", "%1 things", 2), "%1 things");
    EXPECT_EQ(shown("12"), "12");
  }
}

TEST_F(English, ThePseudoLanguageMarksLengthensAndKeepsWhatIsRead) {
  ASSERT_TRUE(setLanguage(kPseudo));
  const std::string_view welcome = tr("Welcome to the VOLPAR Computer");
  EXPECT_TRUE(welcome.starts_with("⟦ŵéĺçóḿé ťó ťĥé ṽóĺþáŕ")) << welcome;
  EXPECT_TRUE(welcome.ends_with("·⟧")) << welcome;
  EXPECT_EQ(shown("Welcome to the VOLPAR Computer"), welcome);
  EXPECT_EQ(shown("Welcome"), "Welcome") << "a text no catalog has stays as it is: unmarked";
  EXPECT_EQ(shown("255"), "255");
}

TEST(Fill, ArgumentsGoWhereThePatternSays) {
  EXPECT_EQ(fill("Address %1: %2", {"5", "LOAD 7"}), "Address 5: LOAD 7");
  EXPECT_EQ(fill("%2 before %1", {"a", "b"}), "b before a");
  EXPECT_EQ(fill("%1%", {"50"}), "50%");
  EXPECT_EQ(fill("%3 missing", {"a"}), " missing");
  EXPECT_EQ(fill("ends with %", {}), "ends with %");
}

TEST(MoFile, ADamagedCatalogReadsAsFarAsItIsSound) {
  // Two entries after the header: "Save" → "Speichern", "&Step" → "&Schritt".
  const auto word = [](std::string& s, std::uint32_t w) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((w >> (8 * i)) & 0xff);
  };
  const std::string strings = std::string("\0Save\0&Step\0Speichern\0&Schritt\0", 32);
  std::string file;
  for (std::uint32_t w : {0x950412deu, 0u, 3u, 28u, 52u, 0u, 0u}) word(file, w);
  const std::uint32_t base = 76;
  for (auto [len, off] : {std::pair{0u, 0u}, {4u, 1u}, {5u, 6u}})
    word(file, len), word(file, base + off);
  for (auto [len, off] : {std::pair{0u, 0u}, {9u, 12u}, {8u, 22u}})
    word(file, len), word(file, base + off);
  file += strings;
  const Texts whole = readMoFile(file);
  EXPECT_EQ(whole.size(), 2u);
  EXPECT_EQ(whole.at("&Step"), "&Schritt");
  const Texts cut = readMoFile(file.substr(0, file.size() - 10));
  EXPECT_EQ(cut.size(), 1u) << "the entry that runs past the end is left out";
  EXPECT_TRUE(readMoFile("not a catalog at all, just text").empty());
  EXPECT_TRUE(readMoFile("").empty());
}

}  // namespace
}  // namespace volpar::i18n
