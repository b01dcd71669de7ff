// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "i18n/text.h"
#include "ui/control_array.h"
#include "ui/element.h"
#include "ui/platform.h"

namespace volpar::screens {

// Title of every input check's message, which carries the check's number.
std::string informationTitle(int number);

// Gives the field the focus and selects its text from position 0 over `length`.
void select(ui::TextBox& field, int length);

// Reports check `number` in a message box, then puts the field back to "0" (which raises
// its change handler as a valid entry), focused and selected over `selectLength`.
void refuseEntry(ui::Platform& platform, ui::TextBox& field, int number, std::string_view text,
                 int selectLength);

bool isDigit(char c);
bool startsWithDigit(std::string_view text);
// Every character after the first is a digit (true for a text of one character or none).
// A typed number must be digits only: "3a" and "12a" are refused here, not half read.
bool digitsAfterFirst(std::string_view text);
// A memory location: digits only, 0 to 31.
bool isLocation(std::string_view text);
// A field that takes a memory location reports only the first check its text fails, under
// its own check numbers: no leading digit, another character after it, out of range. The
// "0" put back passes silently.
void checkLocation(ui::Platform& platform, ui::TextBox& field, const std::array<int, 3>& numbers);
// The only texts a bit box holds: exactly "0" or "1".
bool isBitText(std::string_view text);
// The bit a bit box stands for: 1 when its text reads as the number 1, otherwise 0, so
// no value outside 0..1 ever reaches a weighted sum.
int bitOf(const ui::TextBox& box);
// The number bit boxes first..last stand for, `first` the most significant bit.
int bitsValue(const ui::ControlArray<ui::TextBox>& boxes, int first, int last);
// Bit boxes last down to first take the bits of `value`, `last` the least significant;
// each box's change handler runs as it is written.
void setBits(ui::ControlArray<ui::TextBox>& boxes, int first, int last, int value);

}  // namespace volpar::screens
