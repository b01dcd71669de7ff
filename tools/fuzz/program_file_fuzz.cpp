// Feeds arbitrary bytes to the program-file loader and to the private-profile editor.
// Beyond not crashing, it checks what a student relies on: a text that is accepted for a
// save reads back exactly the memory written into it and keeps every other line, saving
// again changes nothing, and the one-pass editor agrees with key-by-key editing.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "storage/private_profile.h"
#include "storage/program_text.h"

namespace {

using namespace volpar;

void check(bool ok) {
  if (!ok) std::abort();
}

// Memory to write, taken from the input so that it varies with it.
storage::ByteTexts bytesFrom(std::string_view input) {
  storage::ByteTexts bytes;
  for (std::size_t address = 0; address < bytes.size(); ++address) {
    for (std::size_t bit = 0; bit < 8; ++bit) {
      const std::size_t i = address * 8 + bit;
      const unsigned char c = i < input.size() ? static_cast<unsigned char>(input[i]) : 0;
      bytes[address] += "01x"[c % 3];
    }
  }
  return bytes;
}

// The lines of a text without their endings (CRLF, LF or a lone CR).
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    lines.push_back(text.substr(0, end));
    std::size_t next = end;
    if (next < text.size()) next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    text.remove_prefix(next);
  }
  return lines;
}

// A line that a save may rewrite: an entry whose key could be one of the memory bytes.
bool mayBeRewritten(std::string_view line) {
  const std::size_t start = line.find_first_not_of(" \t\v\f\x1A");
  if (start == std::string_view::npos || line.size() - start < 4) return false;
  std::string head(line.substr(start, 4));
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return head == "byte";
}

// Every other line of the text before a save is in the text after it, in the same order,
// and a byte order mark stays at the start.
void checkOtherLinesKept(std::string_view before, std::string_view after) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (before.starts_with(kByteOrderMark)) {
    check(after.starts_with(kByteOrderMark));
    before.remove_prefix(kByteOrderMark.size());
    after.remove_prefix(kByteOrderMark.size());
  }
  const std::vector<std::string_view> out = linesOf(after);
  std::size_t j = 0;
  for (std::string_view line : linesOf(before)) {
    if (mayBeRewritten(line)) continue;
    while (j < out.size() && out[j] != line) ++j;
    check(j < out.size());
    ++j;
  }
}

void loadEveryCell(const storage::ByteTexts& bytes) {
  for (const std::string& value : bytes) {
    for (int bit = 1; bit <= storage::kBitsPerByte; ++bit) {
      const ui::Color color = storage::bitColor(value, bit);
      check(color == ui::kYellow || color == ui::kWhite || color == ui::kBlack);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const storage::ParsedProgram loaded = storage::parseProgram(input);
  check(loaded.bytes.has_value() != !loaded.problem.empty());
  if (loaded.bytes) loadEveryCell(*loaded.bytes);

  // A save edits only files that are text.
  if (storage::textProblem(input)) return 0;
  const storage::ByteTexts written = bytesFrom(input);
  const std::string saved = storage::writeProgram(std::string(input), written);
  const storage::ParsedProgram reread = storage::parseProgram(saved);
  check(reread.bytes.has_value() && *reread.bytes == written);
  check(storage::writeProgram(saved, written) == saved);
  checkOtherLinesKept(input, saved);

  // Setting a section's keys in one pass gives what setting them one at a time gives.
  storage::PrivateProfile oneByOne{std::string(input)};
  for (int address = 0; address < storage::kProgramBytes; ++address) {
    oneByOne.setValue(storage::sectionName(address), storage::keyName(address),
                      written[static_cast<std::size_t>(address)]);
  }
  check(oneByOne.text() == saved);
  return 0;
}
