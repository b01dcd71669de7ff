// Feeds arbitrary bytes to the program-file loader and to the private-profile editor.
// Beyond not crashing, it checks what a student relies on: a text that is accepted for a
// save reads back exactly the memory written into it, and saving again changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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
  return 0;
}
