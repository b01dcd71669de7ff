// SPDX-License-Identifier: GPL-3.0-or-later
// What both fuzz targets share: a failed check stops the run where the fuzzer sees it, and
// memory to write is taken from the input so that it varies with it.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <string_view>

#include "storage/program_file_text.h"

namespace volpar::fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

inline storage::ByteTexts bytesFrom(std::string_view input) {
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

}  // namespace volpar::fuzz
