// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the program-text reader, as a student's submission reaches a
// teacher's grader. Beyond not crashing or hanging: every input is either read into 32
// bytes or refused with problems, each at a place in the text; what is read lists as text
// that reads back into the same bytes; and any memory, taken from the input, does too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "assembly/listing.h"
#include "assembly/program_text.h"
#include "assembly/text_lines.h"
#include "fuzz_support.h"

namespace {

using namespace volpar;
using fuzz::bytesFrom;
using fuzz::check;

void checkRoundTrip(const storage::ByteTexts& bytes) {
  const std::string text = assembly::listing(bytes);
  check(assembly::isProgramText(text));
  const assembly::Assembly back = assembly::assemble(text);
  check(back.bytes && *back.bytes == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const assembly::Assembly read = assembly::assemble(input);
  check(read.bytes.has_value() == (read.problems.empty() && read.problemsNotListed == 0));
  check(read.problems.size() <= assembly::kMaxProblemsListed);
  const std::size_t lines = assembly::splitLines(input).size();
  for (const assembly::Problem& p : read.problems) {
    check(!p.message.empty() && p.message.size() < 400);
    check(p.line >= 0 && static_cast<std::size_t>(p.line) <= lines);
  }
  check(std::is_sorted(read.problems.begin(), read.problems.end(),
                       [](const assembly::Problem& a, const assembly::Problem& b) {
                         return a.line < b.line || (a.line == b.line && a.column < b.column);
                       }));
  if (size > storage::kMaxProgramFileBytes) check(!read.bytes);
  if (read.bytes) checkRoundTrip(*read.bytes);
  checkRoundTrip(bytesFrom(input));
  return 0;
}
