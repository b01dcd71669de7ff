// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/field_checks.h"

#include "i18n/text.h"
#include "ui/text_value.h"

namespace volpar::screens {

std::string informationTitle(int number) {
  // TRANSLATORS: the title of a message about a value typed in; %1 is the message's number.
  return i18n::fill(i18n::tr("VOLPAR -- INFORMATION %1"), {std::to_string(number)});
}

void select(ui::TextBox& field, int length) {
  field.SetFocus();
  field.setSelection(0, length);
}

void refuseEntry(ui::Platform& platform, ui::TextBox& field, int number, std::string_view text,
                 int selectLength) {
  platform.MsgBox(std::string(i18n::tr(text)), informationTitle(number));
  field.setText("0");
  select(field, selectLength);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWithDigit(std::string_view text) { return !text.empty() && isDigit(text.front()); }

bool digitsAfterFirst(std::string_view text) {
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (!isDigit(text[i])) return false;
  }
  return true;
}

bool isLocation(std::string_view text) {
  if (!startsWithDigit(text) || !digitsAfterFirst(text)) return false;
  const double value = ui::Val(text);
  return value >= 0 && value <= 31;
}

void checkLocation(ui::Platform& platform, ui::TextBox& field, const std::array<int, 3>& numbers) {
  static constexpr std::string_view kDigits =
      i18n::mark("Memory locations are integers between 0 and 31");
  const std::string& text = field.Text();
  if (text == "0") return;
  if (!startsWithDigit(text)) {
    refuseEntry(platform, field, numbers[0], kDigits, 2);
  } else if (!digitsAfterFirst(text)) {
    refuseEntry(platform, field, numbers[1], kDigits, 2);
  } else if (!isLocation(text)) {
    refuseEntry(platform, field, numbers[2],
                i18n::mark("You must choose a memory location between 0 and 31"), 2);
  }
}

bool isBitText(std::string_view text) { return text == "0" || text == "1"; }

int bitOf(const ui::TextBox& box) { return ui::Val(box.Text()) == 1.0 ? 1 : 0; }

int bitsValue(const ui::ControlArray<ui::TextBox>& boxes, int first, int last) {
  int value = 0;
  for (int i = first; i <= last; ++i) value = value * 2 + bitOf(boxes(i));
  return value;
}

void setBits(ui::ControlArray<ui::TextBox>& boxes, int first, int last, int value) {
  for (int i = last; i >= first; --i) boxes(i).setText((value >> (last - i)) & 1 ? "1" : "0");
}

}  // namespace volpar::screens
