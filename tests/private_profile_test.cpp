// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/private_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace volpar::storage {
namespace {

// Names without regard to case, quotes, blanks and several keys of a section are covered
// by the program file's hand-edited sample; these are the finer points, as the loader and
// the saver use them, each about the key K of the section S.
TEST(PrivateProfile, ReadsAndEditsOnlyTheLineConcernedAsThePlatformDoes) {
  const struct {
    const char* what;
    std::string text;
    std::optional<std::string> expected;
  } reads[] = {
      {"CRLF", "[S]\r\nK0=00100101\r\nK=1\r\n", "1"},
      {"blanks around key and value", "[S]\n \t K  =  0 1 \t\n", "0 1"},
      {"blanks outside quotes", "[S]\nK =  ' a '  \n", " a "},
      {"only one pair removed", "[S]\nK=\"\"x\"\"\n", "\"x\""},
      {"mismatched quotes kept", "[S]\nK=\"abc'\n", "\"abc'"},
      {"empty value", "[S]\nK=\n", ""},
      {"key without =", "[S]\nK\n", std::nullopt},
      {"comment is not a key", "[S]\n;K=1\n", std::nullopt},
      {"first section of a name counts", "[S]\nA=1\n[T]\n[s]\nK=2\n", std::nullopt},
      {"byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "1"},
      {"longer name is another key", "[S]\nK1=1\n", std::nullopt},
      {"= inside the value", "[S]\nK=a=b\n", "a=b"},
  };
  for (const auto& c : reads)
    EXPECT_EQ(PrivateProfile(c.text).values("S", {"K"})[0], c.expected) << c.what;
  const struct {
    const char* what;
    std::string before;
    std::string after;
  } edits[] = {
      {"replaces a value, keeping the key's spelling and the CRLF",
       "[s]\r\n  k = \"11\"  \r\nK1=2\r\n", "[s]\r\nk=V\r\nK1=2\r\n"},
      {"replaces only the first of two keys", "[S]\nK=1\nK=2\n", "[S]\nK=V\nK=2\n"},
      {"adds a key after the last line of its section",
       "[S]\r\nA=1\r\n; end of S\r\n\r\n[T]\r\nK=9\r\n",
       "[S]\r\nA=1\r\n; end of S\r\nK=V\r\n\r\n[T]\r\nK=9\r\n"},
      {"adds new lines in the file's own LF style", "; notes\n[S]\nA=1",
       "; notes\n[S]\nA=1\nK=V\n"},
      {"ends an added line like the LF line before it, in a file of lone CRs", "[S]\rA=1\n\n[T]\r",
       "[S]\rA=1\nK=V\n\n[T]\r"},
      {"appends a missing section at the end", "; top\r\n[T]\r\nK=1\r\n",
       "; top\r\n[T]\r\nK=1\r\n[S]\r\nK=V\r\n"},
      {"writes into the first section of the name", "[S]\nA=1\n[S]\nK=2\n",
       "[S]\nA=1\nK=V\n[S]\nK=2\n"},
      {"keeps a byte order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "\xEF\xBB\xBF[S]\r\nK=V\r\n"},
      {"carries other bytes along", "; caf\xE9 \xC3\xA9\n[S]\nK=1\n",
       "; caf\xE9 \xC3\xA9\n[S]\nK=V\n"},
  };
  for (const auto& c : edits) {
    PrivateProfile profile(c.before);
    profile.setValues("S", {{"K", "V"}});
    EXPECT_EQ(profile.text(), c.after) << c.what;
    EXPECT_EQ(profile.values("S", {"K"})[0], "V") << c.what;
  }
}

}  // namespace
}  // namespace volpar::storage
