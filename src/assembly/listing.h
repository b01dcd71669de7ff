// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "storage/program_file_text.h"

namespace volpar::assembly {

// Any memory as program text, one line per address, that assembles back to exactly the
// same 32 bytes, black cells included. Only what is sure is read as instructions: the
// bytes a run started at address 0 can reach, following every branch both ways. They are
// listed as instructions; every other byte, and every byte with a black cell, as DATA.
// Branch targets get labels L<address>, the addresses LOAD, ADD and STORE use V<address>
// (L where both). Each line's comment gives its address and bits.
std::string listing(const storage::ByteTexts& bytes);

}  // namespace volpar::assembly
