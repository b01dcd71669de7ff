// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "machine/REXEC_Manual.h"
#include "screens/field_checks.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "ui/colors.h"
#include "ui/text_value.h"

namespace volpar {

using screens::refuseEntry;
using screens::select;

namespace {

constexpr const char* kAddressRange = i18n::mark("You may only input a number from 0 to 31.");

}  // namespace

// A bit box holds exactly "0" or "1"; anything else (an emptied box, "2", or a longer
// text such as "10" that a box limited to one character should never hold) is refused.
void DERAZO_Input::Input_bit_Change(int Index) {
  ui::TextBox& box = Input_Bit(Index);
  if (!screens::isBitText(box.Text())) {
    refuseEntry(screens_.platform(), box, 3, i18n::mark("You may only input a 0 or a 1."), 1);
    return;
  }
  const bool wrote = screens_.manual().bitsDriveText([this] {
    Input_Memory_Address.setText(std::to_string(screens::bitsValue(Input_Bit, 4, 8)));
    Input_Op_Code(0).setText(std::to_string(screens::bitsValue(Input_Bit, 1, 3)));
  });
  if (wrote) select(Input_Bit(Index == 8 ? 1 : Index + 1), 1);
}

// The op code is one digit 0 to 7. A refused entry goes on as the "0" put back.
void DERAZO_Input::Input_Op_Code_Change(int Index) {
  ui::TextBox& field = Input_Op_Code(Index);
  const std::string& text = field.Text();
  if (text.size() != 1 || text[0] < '0' || text[0] > '7') {
    refuseEntry(screens_.platform(), field, 12,
                i18n::mark("You may only input a number from 0 to 7."), 1);
  }
  const bool wrote = screens_.manual().textDrivesBits(
      [&] { screens::setBits(Input_Bit, 1, 3, ui::ValInt(field.Text())); });
  if (wrote) field.SetFocus();
}

// Three checks, each on the text as it then stands; "05" passes and reads as 5.
void DERAZO_Input::Input_Memory_Address_Change() {
  ui::Platform& platform = screens_.platform();
  if (!screens::startsWithDigit(Input_Memory_Address.Text())) {
    refuseEntry(platform, Input_Memory_Address, 9, kAddressRange, 2);
  }
  if (!screens::digitsAfterFirst(Input_Memory_Address.Text())) {
    refuseEntry(platform, Input_Memory_Address, 10, kAddressRange, 2);
  }
  const double value = ui::Val(Input_Memory_Address.Text());
  if (value < 0 || value > 31) refuseEntry(platform, Input_Memory_Address, 11, kAddressRange, 2);

  const bool wrote = screens_.manual().textDrivesBits(
      [this] { screens::setBits(Input_Bit, 4, 8, ui::ValInt(Input_Memory_Address.Text())); });
  if (wrote) Input_Memory_Address.SetFocus();
}

void DERAZO_Input::memory_text_Change() {
  screens::checkLocation(screens_.platform(), memory_text, {13, 1, 2});
}

void DERAZO_Input::Command_Send_to_Memory_Click() {
  for (int k = 1; k <= 8; ++k) {
    if (Input_Bit(k).Text().empty()) Input_Bit(k).setText("0");
  }
  // memory_text holds a valid location after every change; a text that somehow is not
  // one writes nowhere rather than outside the grid.
  if (!screens::isLocation(memory_text.Text())) return;
  const int a = ui::ValInt(memory_text.Text());
  for (int b = 1; b <= 8; ++b) {
    Shape1(8 * a + b).setFillColor(screens::bitOf(Input_Bit(b)) == 1 ? ui::kYellow : ui::kWhite);
  }
  noteUserWrote(a);
  select(Input_Bit(1), 1);
  memory_text.setText(a == 31 ? "0" : std::to_string(a + 1));
}

}  // namespace volpar
