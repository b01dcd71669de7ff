// SPDX-License-Identifier: GPL-3.0-or-later
// Program text: each rule of the syntax, each problem with its line and column, and the
// listing of any memory assembling back to the same bytes.
#include "assembly/program_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "assembly/listing.h"
#include "assembly/text_lines.h"
#include "support/data_table.h"

namespace volpar::assembly {
namespace {

constexpr const char* kCountdown =
    "; countdown: outputs N, N-1, ..., 0\n"
    "start:  INPUT           ; S <- the value typed\n"
    "loop:   OUTPUT\n"
    "        ADD minus1\n"
    "        BRNEG done      ; stop once S went below 0\n"
    "        BRANCH loop\n"
    "done:   BRANCH done     ; the usual end\n"
    "minus1: DATA -1\n";

// The bytes a text places, each as "address=bits", the rest being zero.
std::string placed(std::string_view text) {
  const Assembly a = assemble(text);
  if (!a.bytes) return problemsText(a);
  std::string out;
  for (int i = 0; i < 32; ++i) {
    const std::string& bits = (*a.bytes)[static_cast<std::size_t>(i)];
    if (bits != "00000000") out += (out.empty() ? "" : " ") + std::to_string(i) + "=" + bits;
  }
  return out;
}

// The tables in tests/data/program_text; which content is text rather than a program file.
TEST(ProgramText, EachRuleOfTheSyntaxPlacesItsBytesAndEveryProblemIsListedWithItsPlace) {
  for (const testing::Row& row : testing::readTable("program_text/placed.txt"))
    EXPECT_EQ(placed(testing::unescape(row[0])), row[1]) << row[0];
  for (const testing::Row& row : testing::readTable("program_text/problems.txt")) {
    const Assembly a = assemble(testing::unescape(row[0]));
    EXPECT_EQ(problemsText(a), testing::unescape(row[1])) << row[0];
    EXPECT_FALSE(a.bytes) << row[0];
  }
  for (const testing::Row& row : testing::readTable("program_text/is_text.txt"))
    EXPECT_EQ(isProgramText(testing::unescape(row[0])), row[1] == "1") << row[0];
}

TEST(ProgramText, ManyProblemsAreCountedBeyondThoseListed) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "LOAD 99\n";
  const Assembly a = assemble(text);
  EXPECT_EQ(a.problems.size(), kMaxProblemsListed);
  EXPECT_EQ(a.problemsNotListed, 150 - kMaxProblemsListed);
  EXPECT_EQ(problemsText(a).substr(problemsText(a).rfind("and")), "and 50 more problems\n");
}

TEST(ProgramText, TheColouredPartsOfALine) {
  const char* const kinds[] = {"label", "mnemonic", "operand", "comment"};
  std::string parts;
  for (const Token& t : lineTokens("go: BR Neg go ; back"))
    parts += kinds[static_cast<int>(t.kind)] + std::string(" ") + std::to_string(t.column) + "+" +
             std::to_string(t.length) + " ";
  EXPECT_EQ(parts, "label 1+3 mnemonic 5+2 mnemonic 8+3 operand 12+2 comment 15+6 ");
}

// Labels for branch targets and operands; what no branch reaches is listed as data. Each
// line of the text knows the address it placed.
TEST(Listing, LabelsBranchTargetsAndOperandsAndListsTheUnreachedAsData) {
  const Assembly a = assemble(kCountdown);
  ASSERT_TRUE(a.bytes);
  EXPECT_EQ(std::vector({a.lineOf[0], a.lineOf[6], a.lineOf[7]}), std::vector({2, 8, 0}));
  testing::expectGolden("program_text/countdown.listing", listing(*a.bytes));
}

storage::ByteTexts randomMemory(std::mt19937& random) {
  storage::ByteTexts bytes;
  for (std::string& b : bytes)
    for (int bit = 0; bit < 8; ++bit) b += random() % 16 == 0 ? 'x' : "01"[random() % 2];
  return bytes;
}

TEST(Listing, AnyMemoryListsAsTextThatAssemblesBackToTheSameBytes) {
  std::mt19937 random(29);
  for (int i = 0; i < 2000; ++i) {
    const storage::ByteTexts memory = randomMemory(random);
    const std::string text = listing(memory);
    const Assembly back = assemble(text);
    ASSERT_TRUE(back.bytes) << problemsText(back) << text;
    ASSERT_EQ(*back.bytes, memory) << text;
    ASSERT_EQ(listing(*back.bytes), text);
  }
}

}  // namespace
}  // namespace volpar::assembly
