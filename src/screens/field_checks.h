#pragma once

#include <string>
#include <string_view>

#include "ui/control_array.h"
#include "ui/element.h"
#include "ui/platform.h"

namespace volpar::screens {

// Title of every input check's message: this text followed by the check's number.
inline constexpr std::string_view kInformationTitle = "VOLPAR -- INFORMATION ";

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
// The only texts a bit box holds: exactly "0" or "1".
bool isBitText(std::string_view text);
// The bit a bit box stands for: 1 when its text reads as the number 1, otherwise 0, so
// no value outside 0..1 ever reaches a weighted sum.
int bitOf(const ui::TextBox& box);
// The number bit boxes first..last stand for, `first` the most significant bit.
int bitsValue(const ui::ControlArray<ui::TextBox>& boxes, int first, int last);

}  // namespace volpar::screens
