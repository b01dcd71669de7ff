// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/listing.h"

#include <array>

#include "assembly/program_text.h"
#include "i18n/text.h"

namespace volpar::assembly {
namespace {

constexpr int kBytes = storage::kProgramBytes;
constexpr int kOpStore = 2;
constexpr int kOpBranch = 5;

struct Byte {
  std::string bits;  // eight of 0, 1 and x, as memory holds them
  int value = 0;     // as the machine reads it: a black cell is 0
  bool black = false;
  int opCode() const { return value >> 5; }
  int operand() const { return value & 31; }
};

std::array<Byte, kBytes> readBytes(const storage::ByteTexts& bytes) {
  std::array<Byte, kBytes> out;
  for (int a = 0; a < kBytes; ++a) {
    Byte& b = out[static_cast<std::size_t>(a)];
    for (int bit = 1; bit <= 8; ++bit) {
      const char c = storage::bitText(storage::bitColor(bytes[static_cast<std::size_t>(a)], bit));
      b.bits += c;
      b.value = b.value * 2 + (c == '1' ? 1 : 0);
      b.black = b.black || c == 'x';
    }
  }
  return out;
}

// The bytes a run from address 0 may execute: a branch to itself ends the run.
std::array<bool, kBytes> reachable(const std::array<Byte, kBytes>& bytes) {
  std::array<bool, kBytes> seen{};
  std::vector<int> todo{0};
  while (!todo.empty()) {
    const int a = todo.back();
    todo.pop_back();
    if (seen[static_cast<std::size_t>(a)]) continue;
    seen[static_cast<std::size_t>(a)] = true;
    const Byte& b = bytes[static_cast<std::size_t>(a)];
    if (b.opCode() >= kOpBranch) todo.push_back(b.operand());
    if (b.opCode() != kOpBranch) todo.push_back((a + 1) % kBytes);
  }
  return seen;
}

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

}  // namespace

std::string listing(const storage::ByteTexts& memory) {
  const std::array<Byte, kBytes> bytes = readBytes(memory);
  const std::array<bool, kBytes> code = reachable(bytes);
  std::array<std::string, kBytes> labels;
  for (int a = 0; a < kBytes; ++a) {
    const Byte& b = bytes[static_cast<std::size_t>(a)];
    if (!code[static_cast<std::size_t>(a)]) continue;
    std::string& label = labels[static_cast<std::size_t>(b.operand())];
    if (b.opCode() >= kOpBranch) label = "L" + std::to_string(b.operand());
    if (b.opCode() <= kOpStore && label.empty()) label = "V" + std::to_string(b.operand());
  }
  // TRANSLATORS: a comment at the head of a listing: each line starts with "; ", and DATA
  // stays as it is (it is the program text's word).
  std::string text(
      i18n::tr("; listed from memory: what a run from address 0 can reach as instructions,\n"
               "; every other byte as DATA\n"));
  for (int a = 0; a < kBytes; ++a) {
    const auto i = static_cast<std::size_t>(a);
    const Byte& b = bytes[i];
    std::string statement;
    if (b.black || !code[i]) {
      statement = "DATA " + (b.black ? "0b" + b.bits : std::to_string(b.value));
    } else {
      statement = std::string(kMnemonics[static_cast<std::size_t>(b.opCode())]);
      const std::string& target = labels[static_cast<std::size_t>(b.operand())];
      const bool inOut = b.opCode() == 3 || b.opCode() == 4;
      if (!inOut || b.operand() != 0)
        statement += " " + (inOut || target.empty() ? std::to_string(b.operand()) : target);
    }
    const std::string label = labels[i].empty() ? "" : labels[i] + ":";
    text += padded(label, 8) + padded(statement, 16) + "; " + padded(std::to_string(a), 3) +
            b.bits + "\n";
  }
  return text;
}

}  // namespace volpar::assembly
