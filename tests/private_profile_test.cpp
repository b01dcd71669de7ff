// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/private_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/data_table.h"

namespace volpar::storage {
namespace {

// Names without regard to case, quotes, blanks and several keys of a section are covered
// by the program file's hand-edited sample; the finer points are the cases in
// tests/data/profile/cases.txt.
TEST(PrivateProfile, ReadsAndEditsOnlyTheLineConcernedAsThePlatformDoes) {
  for (const testing::Row& c : testing::readTable("profile/cases.txt")) {
    PrivateProfile profile(testing::unescape(c[2]));
    const std::string want = testing::unescape(c[3]);
    if (c[0] == "read") {
      const std::optional<std::string> read = profile.values("S", {"K"})[0];
      EXPECT_EQ(read.value_or("(none)"), want) << c[1];
      continue;
    }
    profile.setValues("S", {{"K", "V"}});
    EXPECT_EQ(profile.text(), want) << c[1];
    EXPECT_EQ(profile.values("S", {"K"})[0], "V") << c[1];
  }
}

}  // namespace
}  // namespace volpar::storage
