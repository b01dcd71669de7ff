#include "storage/private_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace volpar::storage {
namespace {

struct ReadCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(PrivateProfile, ReadsValuesAsThePlatformDoes) {
  const ReadCase cases[] = {
      {"CRLF", "[First8]\r\nByte0=00100101\r\nByte1=1\r\n", "First8", "Byte1", "1"},
      {"LF", "[First8]\nByte0=00100101\n", "First8", "Byte0", "00100101"},
      {"lone CR", "[First8]\rByte0=01\rByte1=10", "First8", "Byte1", "10"},
      {"no final line break", "[First8]\nByte0=11", "First8", "Byte0", "11"},
      {"names in other cases", "[fIRST8]\nbYTE0=1\n", "First8", "Byte0", "1"},
      {"blanks around key and value", "[First8]\n \t Byte0  =  0 1 \t\n", "First8", "Byte0", "0 1"},
      {"double quotes", "[S]\nK=\"abc\"\n", "S", "K", "abc"},
      {"single quotes", "[S]\nK='abc'\n", "S", "K", "abc"},
      {"blanks outside quotes", "[S]\nK =  ' a '  \n", "S", "K", " a "},
      {"only one pair removed", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
      {"mismatched quotes kept", "[S]\nK=\"abc'\n", "S", "K", "\"abc'"},
      {"lone quote kept", "[S]\nK=\"\n", "S", "K", "\""},
      {"empty quotes", "[S]\nK=''\n", "S", "K", ""},
      {"empty value", "[S]\nK=\n", "S", "K", ""},
      {"key without =", "[S]\nK\n", "S", "K", std::nullopt},
      {"comment is not a key", "[S]\n;K=1\n", "S", "K", std::nullopt},
      {"comment with blanks before", "[S]\n  ; K=1\nK=2\n", "S", "K", "2"},
      {"key only in its own section", "[Second8]\nByte3=1\n[First8]\n", "First8", "Byte3",
       std::nullopt},
      {"key before any section", "Byte3=1\n[First8]\n", "First8", "Byte3", std::nullopt},
      {"first section of a name counts", "[S]\nA=1\n[T]\n[s]\nK=2\n", "S", "K", std::nullopt},
      {"first key of a name counts", "[S]\nK=1\nk=2\n", "S", "K", "1"},
      {"byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "1"},
      {"Ctrl-Z at the end", "[S]\r\nK=1\r\n\x1A", "S", "K", "1"},
      {"text after the bracket", "[S] ; notes\nK=1\n", "S", "K", "1"},
      {"no closing bracket is no section", "[S\nK=1\n", "S", "K", std::nullopt},
      {"longer name is another key", "[S]\nK1=1\n", "S", "K", std::nullopt},
      {"= inside the value", "[S]\nK=a=b\n", "S", "K", "a=b"},
      {"missing section", "[T]\nK=1\n", "S", "K", std::nullopt},
      {"empty text", "", "S", "K", std::nullopt},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(PrivateProfile(c.text).value(c.section, c.key), c.expected) << c.what;
  }
}

TEST(PrivateProfile, FindsSectionsWithoutRegardToCase) {
  const PrivateProfile profile("; [First8]\nKey=[Second8]\n[third8]\n[ Fourth8 ]\n");
  EXPECT_FALSE(profile.hasSection("First8"));
  EXPECT_FALSE(profile.hasSection("Second8"));
  EXPECT_TRUE(profile.hasSection("Third8"));
  EXPECT_FALSE(profile.hasSection("Fourth8"));  // blanks inside the brackets are part of the name
}

TEST(PrivateProfile, WritesANewTextInThePlatformLayout) {
  PrivateProfile profile;
  profile.setValue("First8", "Byte0", "00100101");
  profile.setValue("First8", "Byte1", "00000000");
  profile.setValue("Second8", "Byte8", "x0x0x0x0");
  profile.setValue("First8", "Byte2", "1");
  EXPECT_EQ(profile.text(),
            "[First8]\r\nByte0=00100101\r\nByte1=00000000\r\nByte2=1\r\n"
            "[Second8]\r\nByte8=x0x0x0x0\r\n");
}

struct EditCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  std::string after;
};

TEST(PrivateProfile, EditsOnlyTheLineConcerned) {
  const EditCase cases[] = {
      {"replaces a value, keeping the key's spelling and the CRLF",
       "[first8]\r\n  bYTE0 = \"11\"  \r\nByte1=2\r\n", "First8", "Byte0",
       "[first8]\r\nbYTE0=V\r\nByte1=2\r\n"},
      {"keeps an LF line an LF line", "[S]\nK=1\n", "S", "K", "[S]\nK=V\n"},
      {"replaces a key that had no =", "[S]\r\nK\r\n", "S", "K", "[S]\r\nK=V\r\n"},
      {"replaces only the first of two keys", "[S]\nK=1\nK=2\n", "S", "K", "[S]\nK=V\nK=2\n"},
      {"adds a key after the last line of its section",
       "[S]\r\nA=1\r\n; end of S\r\n\r\n[T]\r\nK=9\r\n", "S", "K",
       "[S]\r\nA=1\r\n; end of S\r\nK=V\r\n\r\n[T]\r\nK=9\r\n"},
      {"adds a key under a section header that ends the text", "[S]", "S", "K", "[S]\r\nK=V\r\n"},
      {"adds new lines in the file's own LF style", "; notes\n[S]\nA=1", "S", "K",
       "; notes\n[S]\nA=1\nK=V\n"},
      {"ends added lines like the line before them", "[S]\rA=1\n\n[T]\r", "S", "K",
       "[S]\rA=1\nK=V\n\n[T]\r"},
      {"appends a missing section at the end", "; top\r\n[T]\r\nK=1\r\n", "S", "K",
       "; top\r\n[T]\r\nK=1\r\n[S]\r\nK=V\r\n"},
      {"appends after a last line without break", "[T]\nK=1", "S", "K", "[T]\nK=1\n[S]\nK=V\n"},
      {"writes into the first section of the name", "[S]\nA=1\n[S]\nK=2\n", "S", "K",
       "[S]\nA=1\nK=V\n[S]\nK=2\n"},
      {"keeps a byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K",
       "\xEF\xBB\xBF[S]\r\nK=V\r\n"},
      {"a byte order mark alone is an empty text", "\xEF\xBB\xBF", "S", "K",
       "\xEF\xBB\xBF[S]\r\nK=V\r\n"},
      {"carries other bytes along", "; caf\xE9 \xC3\xA9\n[S]\nK=1\n", "S", "K",
       "; caf\xE9 \xC3\xA9\n[S]\nK=V\n"},
  };
  for (const EditCase& c : cases) {
    PrivateProfile profile(c.before);
    profile.setValue(c.section, c.key, "V");
    EXPECT_EQ(profile.text(), c.after) << c.what;
    EXPECT_EQ(profile.value(c.section, c.key), "V") << c.what;
  }
}

TEST(PrivateProfile, SettingASectionInOnePassEqualsSettingKeyByKey) {
  const std::string before = "[b]\r\nK3=1\r\n\r\n[A]\nk2 = 'x'\n;c\n\n[a]\nK1=0\n[B]";
  const std::vector<PrivateProfile::Entry> entries = {{"K1", "u"}, {"K2", "v"}, {"K3", "w"}};
  for (const char* section : {"A", "B", "C"}) {
    PrivateProfile batch(before), single(before);
    batch.setValues(section, entries);
    for (const auto& e : entries) single.setValue(section, e.key, e.value);
    EXPECT_EQ(batch.text(), single.text()) << section;
    EXPECT_EQ(batch.values(section, {"K1", "K2", "K3", "K4"}),
              (std::vector<std::optional<std::string>>{"u", "v", "w", std::nullopt}));
  }
}

}  // namespace
}  // namespace volpar::storage
