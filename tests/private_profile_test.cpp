#include "storage/private_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace volpar::storage {
namespace {

// Names without regard to case, quotes, blanks and several keys of a section are covered
// by the program file's hand-edited sample; these are the finer points, as the loader and
// the saver use them.
TEST(PrivateProfile, ReadsValuesAsThePlatformDoes) {
  const struct {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  } cases[] = {
      {"CRLF", "[First8]\r\nByte0=00100101\r\nByte1=1\r\n", "First8", "Byte1", "1"},
      {"blanks around key and value", "[First8]\n \t Byte0  =  0 1 \t\n", "First8", "Byte0", "0 1"},
      {"blanks outside quotes", "[S]\nK =  ' a '  \n", "S", "K", " a "},
      {"only one pair removed", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
      {"mismatched quotes kept", "[S]\nK=\"abc'\n", "S", "K", "\"abc'"},
      {"empty value", "[S]\nK=\n", "S", "K", ""},
      {"key without =", "[S]\nK\n", "S", "K", std::nullopt},
      {"comment is not a key", "[S]\n;K=1\n", "S", "K", std::nullopt},
      {"first section of a name counts", "[S]\nA=1\n[T]\n[s]\nK=2\n", "S", "K", std::nullopt},
      {"byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "1"},
      {"longer name is another key", "[S]\nK1=1\n", "S", "K", std::nullopt},
      {"= inside the value", "[S]\nK=a=b\n", "S", "K", "a=b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrivateProfile(c.text).values(c.section, {c.key})[0], c.expected) << c.what;
  }
}

TEST(PrivateProfile, EditsOnlyTheLineConcerned) {
  const struct {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    std::string after;
  } cases[] = {
      {"replaces a value, keeping the key's spelling and the CRLF",
       "[first8]\r\n  bYTE0 = \"11\"  \r\nByte1=2\r\n", "First8", "Byte0",
       "[first8]\r\nbYTE0=V\r\nByte1=2\r\n"},
      {"replaces only the first of two keys", "[S]\nK=1\nK=2\n", "S", "K", "[S]\nK=V\nK=2\n"},
      {"adds a key after the last line of its section",
       "[S]\r\nA=1\r\n; end of S\r\n\r\n[T]\r\nK=9\r\n", "S", "K",
       "[S]\r\nA=1\r\n; end of S\r\nK=V\r\n\r\n[T]\r\nK=9\r\n"},
      {"adds new lines in the file's own LF style", "; notes\n[S]\nA=1", "S", "K",
       "; notes\n[S]\nA=1\nK=V\n"},
      {"ends an added line like the LF line before it, in a file of lone CRs", "[S]\rA=1\n\n[T]\r",
       "S", "K", "[S]\rA=1\nK=V\n\n[T]\r"},
      {"appends a missing section at the end", "; top\r\n[T]\r\nK=1\r\n", "S", "K",
       "; top\r\n[T]\r\nK=1\r\n[S]\r\nK=V\r\n"},
      {"writes into the first section of the name", "[S]\nA=1\n[S]\nK=2\n", "S", "K",
       "[S]\nA=1\nK=V\n[S]\nK=2\n"},
      {"keeps a byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K",
       "\xEF\xBB\xBF[S]\r\nK=V\r\n"},
      {"carries other bytes along", "; caf\xE9 \xC3\xA9\n[S]\nK=1\n", "S", "K",
       "; caf\xE9 \xC3\xA9\n[S]\nK=V\n"},
  };
  for (const auto& c : cases) {
    PrivateProfile profile(c.before);
    profile.setValues(c.section, {{c.key, "V"}});
    EXPECT_EQ(profile.text(), c.after) << c.what;
    EXPECT_EQ(profile.values(c.section, {c.key})[0], "V") << c.what;
  }
}

}  // namespace
}  // namespace volpar::storage
