// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/field_checks.h"
#include "screens/screens.h"
#include "ui/text_value.h"

namespace volpar {

using screens::refuseEntry;

namespace {
constexpr std::string_view kDigitsOnly = i18n::mark("You may only input a digit.");
}  // namespace

// A bit box takes one character, and only "0" or "1" passes: "2" or an emptied box is
// refused and put back, and no text such as "10" can ever count ten.
void REXEC::Input_bit_Change(int Index) {
  ui::TextBox& box = Input_bit(Index);
  if (!screens::isBitText(box.Text())) {
    refuseEntry(screens_.platform(), box, 4, i18n::mark("You may only input a 1 or a 0."), 1);
    return;
  }
  screens_.manual().bitsDriveText(
      [this] { Text_Input_Decimal.setText(std::to_string(screens::bitsValue(Input_bit, 1, 8))); });
}

// Each check reads the text afresh: a check that put "0" back hands the next one "0".
void REXEC::Text_Input_Decimal_Change() {
  ui::Platform& platform = screens_.platform();
  if (!screens::startsWithDigit(Text_Input_Decimal.Text())) {
    refuseEntry(platform, Text_Input_Decimal, 22, kDigitsOnly, 3);
  }
  if (!screens::digitsAfterFirst(Text_Input_Decimal.Text())) {
    refuseEntry(platform, Text_Input_Decimal, 23, kDigitsOnly, 2);
  }
  const double number = ui::Val(Text_Input_Decimal.Text());
  if (number < 0 || number > 255) {
    refuseEntry(platform, Text_Input_Decimal, 11,
                i18n::mark("You may only input a number from 0 to 255."), 2);
    return;
  }
  const bool wrote = screens_.manual().textDrivesBits(
      [&] { screens::setBits(Input_bit, 1, 8, static_cast<int>(number)); });
  if (wrote) Text_Input_Decimal.SetFocus();
}

// The next pulse performs T7, which reads the bit boxes into S.
void REXEC::Command_Input_Window_OK_Click() {
  Command_Input_Window_OK.setEnabled(false);
  screens_.manual().Clock_Phase = 7;
  for (int i = 1; i <= 8; ++i) {
    if (Input_bit(i).Text().empty()) Input_bit(i).setText("0");
  }
  if (manual_radio.Value()) {
    Timer1.setEnabled(false);
    Command_Pause.setEnabled(false);
    Command_Begin_Step.setEnabled(true);
    Command_Resume.setEnabled(false);
    Command_Begin_Step.SetFocus();  // the next Enter performs T7
  } else {
    Timer1.setEnabled(true);
    Command_Pause.setEnabled(true);
    Command_Begin_Step.setEnabled(false);
    Command_Resume.setEnabled(true);
  }
}

}  // namespace volpar
