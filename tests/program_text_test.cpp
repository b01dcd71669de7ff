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

TEST(ProgramText, EachRuleOfTheSyntaxPlacesItsBytes) {
  const struct {
    const char* text;
    const char* bytes;
  } kCases[] = {
      {kCountdown, "0=01100000 1=10000000 2=00000110 3=11000101 4=10100001 5=10100101 6=11111111"},
      {"load 5\nLoad 6\nStore 7", "0=00100101 1=00100110 2=01000111"},
      {"BR Neg 9\nbr nneg 9\nBRNNEG 9\nbranch 31", "0=11001001 1=11101001 2=11101001 3=10111111"},
      {"INPUT\nOUTPUT\nINPUT 4\nOUTPUT 31", "0=01100000 1=10000000 2=01100100 3=10011111"},
      {"DATA 255\nDATA -1\nDATA -128\nDATA 0b0x0x0x0x\nDATA 0B11110000",
       "0=11111111 1=11111111 2=10000000 3=0x0x0x0x 4=11110000"},
      {"ORG 30\nDATA 1\nDATA 2\nORG 4\nhere: ORG 9\nLOAD here",
       "9=00101001 30=00000001 31=00000010"},
      {"\n; only a comment\nnext:\n\n  BRANCH next", "0=10100000"},
      {"a:b: BRANCH b\nloop:LOAD a ;no blank needed", "0=10100000 1=00100000"},
      {"\xEF\xBB\xBFOUTPUT\r\nOUTPUT 1\rOUTPUT 2", "0=10000000 1=10000001 2=10000010"},
      {"Loop: OUTPUT\nloop: BRANCH Loop", "0=10000000 1=10100000"},
      {"", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(placed(c.text), c.bytes) << c.text;
}

TEST(ProgramText, EveryProblemIsListedWithItsPlaceAndNothingIsPlaced) {
  const struct {
    std::string text;
    std::string problems;
  } kCases[] = {
      {"LOAD 1\nLOAD 2\nLOAD 3\nLAOD 4",
       "line 4, column 1: \"LAOD\" is not an instruction; did you mean LOAD?\n"},
      {"  LOAD 32", "line 1, column 8: address 32 does not exist: addresses are 0 to 31\n"},
      {"BRANCH lop\nloop: OUTPUT\nBRANCH Loop",
       "line 1, column 8: unknown label \"lop\"; did you mean loop?\n"
       "line 3, column 8: unknown label \"Loop\"; did you mean loop?\n"},
      {"a: INPUT\na: OUTPUT", "line 2, column 1: the label \"a\" is already defined on line 1\n"},
      {"ORG 31\nOUTPUT\nOUTPUT 1",
       "line 3, column 1: more than 32 bytes: this one would go to address 32\n"},
      {"ORG 3\nDATA 1\nORG 3\nDATA 2",
       "line 4, column 1: address 3 is placed twice: line 2 placed it already\n"},
      {"DATA 256\nDATA -129\nDATA 0b0101\nDATA",
       "line 1, column 6: DATA 256 is not a byte: write 0 to 255, -128 to -1, or 0b and eight of "
       "0, 1 and x\n"
       "line 2, column 6: DATA -129 is not a byte: write 0 to 255, -128 to -1, or 0b and eight of "
       "0, 1 and x\n"
       "line 3, column 6: \"0b0101\" is not a byte: after 0b come eight of 0, 1 and x\n"
       "line 4, column 1: DATA needs a value: 0 to 255, -128 to -1, or 0b and eight of 0, 1 and "
       "x\n"},
      {"LOAD\nLOAD 5 6\nORG\nORG x",
       "line 1, column 1: LOAD needs an address: 0 to 31 or a label\n"
       "line 2, column 8: unexpected \"6\" after the operand; a comment starts with \";\"\n"
       "line 3, column 1: ORG needs an address: 0 to 31\n"
       "line 4, column 5: \"x\" is not an address: ORG needs a number from 0 to 31\n"},
      {"add: OUTPUT\n1x: OUTPUT\nloop LOAD 5\nBR 5\nOUTPUT x: 1",
       "line 1, column 1: \"add\" is an instruction's name and cannot be a label\n"
       "line 2, column 1: \"1x\" is not a label: a label starts with a letter or \"_\" and holds "
       "only "
       "letters, digits and \"_\"\n"
       "line 3, column 1: \"loop\" is not an instruction; a label ends with \":\" (loop:)\n"
       "line 4, column 1: \"BR\" is not an instruction; write BR Neg or BR NNeg, or BRANCH to "
       "branch always\n"
       "line 5, column 8: \"x:\" is not an address: write 0 to 31 or a label\n"
       "line 5, column 11: unexpected \"1\" after the operand; a comment starts with \";\"\n"},
      {"LOAD end\nORG 31\nOUTPUT\nend:",
       "line 1, column 6: the label \"end\" stands after address 31 and names no byte\n"},
      {std::string("OUTPUT\0", 7), "It is not a text file\n"},
  };
  for (const auto& c : kCases) {
    const Assembly a = assemble(c.text);
    EXPECT_EQ(problemsText(a), c.problems) << c.text;
    EXPECT_FALSE(a.bytes) << c.text;
  }
}

TEST(ProgramText, ManyProblemsAreCountedBeyondThoseListed) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "LOAD 99\n";
  const Assembly a = assemble(text);
  EXPECT_EQ(a.problems.size(), kMaxProblemsListed);
  EXPECT_EQ(a.problemsNotListed, 150 - kMaxProblemsListed);
  EXPECT_EQ(problemsText(a).substr(problemsText(a).rfind("and")), "and 50 more problems\n");
}

TEST(ProgramText, EachLineKnowsTheAddressItPlaced) {
  const Assembly a = assemble(kCountdown);
  ASSERT_TRUE(a.bytes);
  EXPECT_EQ(a.lineOf[0], 2);
  EXPECT_EQ(a.lineOf[6], 8);
  EXPECT_EQ(a.lineOf[7], 0);
}

TEST(ProgramText, TheFirstLineThatSaysSomethingTellsAProgramFileFromText) {
  EXPECT_FALSE(isProgramText("[First8]\nByte0=00000000\n"));
  EXPECT_FALSE(isProgramText("\xEF\xBB\xBF\r\n  ; saved by hand\r\n  [Fourth8]"));
  EXPECT_TRUE(isProgramText(kCountdown));
  EXPECT_TRUE(isProgramText("  \n\t\n"));
  EXPECT_TRUE(isProgramText("LOAD 5\n[First8]\n"));
  EXPECT_FALSE(isProgramText(std::string("LOAD 5\0", 7)));
}

TEST(ProgramText, TheColouredPartsOfALine) {
  const std::vector<Token> t = lineTokens("go: BR Neg go ; back");
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].kind, TokenKind::Label);
  EXPECT_EQ(t[1].kind, TokenKind::Mnemonic);
  EXPECT_EQ(t[2].kind, TokenKind::Mnemonic);
  EXPECT_EQ(t[3].kind, TokenKind::Operand);
  EXPECT_EQ(t[3].column, 12);
  EXPECT_EQ(t[4].kind, TokenKind::Comment);
  EXPECT_EQ(t[4].length, 6);
}

TEST(Listing, LabelsBranchTargetsAndOperandsAndListsTheUnreachedAsData) {
  const Assembly a = assemble(kCountdown);
  ASSERT_TRUE(a.bytes);
  const std::string text = listing(*a.bytes);
  for (const char* line :
       {"        INPUT           ; 0  01100000\n", "L1:     OUTPUT          ; 1  10000000\n",
        "        ADD V6          ; 2  00000110\n", "        BRNEG L5        ; 3  11000101\n",
        "L5:     BRANCH L5       ; 5  10100101\n", "V6:     DATA 255        ; 6  11111111\n",
        "        DATA 0          ; 7  00000000\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

storage::ByteTexts randomMemory(std::mt19937& random) {
  storage::ByteTexts bytes;
  for (std::string& b : bytes) {
    for (int bit = 0; bit < 8; ++bit) b += random() % 16 == 0 ? 'x' : "01"[random() % 2];
  }
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
