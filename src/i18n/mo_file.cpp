// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/mo_file.h"

#include <cstdint>
#include <optional>

namespace volpar::i18n {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;

// Reads the file's 32-bit words in the byte order its magic number says.
class Words {
 public:
  explicit Words(std::string_view bytes) : bytes_(bytes) {
    swapped_ = word(0) != kMagic;
    if (swapped_ && word(0) != kMagic) bytes_ = {};
  }
  bool sound() const { return bytes_.size() >= 28; }
  std::uint32_t word(std::size_t at) const {
    if (at + 4 > bytes_.size()) return 0;
    std::uint32_t w = 0;
    for (int i = 0; i < 4; ++i) {
      const int shift = swapped_ ? 8 * (3 - i) : 8 * i;
      w |= std::uint32_t(static_cast<unsigned char>(bytes_[at + static_cast<std::size_t>(i)]))
           << shift;
    }
    return w;
  }
  // The string the table entry at `at` describes (length, then offset), if it lies in the file.
  std::optional<std::string_view> string(std::size_t at) const {
    const std::size_t length = word(at), offset = word(at + 4);
    if (at + 8 > bytes_.size() || offset > bytes_.size() || length > bytes_.size() - offset)
      return std::nullopt;
    return bytes_.substr(offset, length);
  }

 private:
  std::string_view bytes_;
  bool swapped_ = false;
};

}  // namespace

Texts readMoFile(std::string_view bytes) {
  Texts texts;
  const Words file(bytes);
  if (!file.sound()) return texts;
  const std::size_t count = file.word(8), sources = file.word(12), translations = file.word(16);
  for (std::size_t i = 0; i < count; ++i) {
    const auto source = file.string(sources + 8 * i);
    const auto translation = file.string(translations + 8 * i);
    if (!source || !translation) break;
    const std::string_view key = source->substr(0, source->find('\0'));
    if (key.empty() || translation->empty()) continue;
    texts.emplace(key, *translation);
  }
  return texts;
}

}  // namespace volpar::i18n
