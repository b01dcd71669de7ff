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

constexpr const char* kAddressRange = "You may only input a number from 0 to 31.";
constexpr const char* kLocationDigits = "Memory locations are integers between 0 and 31";
constexpr const char* kLocationRange = "You must choose a memory location between 0 and 31";

// The address a text names when it is a valid memory location: digits only, 0 to 31.
bool isLocation(std::string_view text) {
  if (!screens::startsWithDigit(text) || !screens::digitsAfterFirst(text)) return false;
  const double value = ui::Val(text);
  return value >= 0 && value <= 31;
}

}  // namespace

// A bit box holds exactly "0" or "1"; anything else (an emptied box, "2", or a longer
// text such as "10" that a box limited to one character should never hold) is refused.
void DERAZO_Input::Input_bit_Change(int Index) {
  ui::TextBox& box = Input_Bit(Index);
  if (!screens::isBitText(box.Text())) {
    refuseEntry(screens_.platform(), box, 3, "You may only input a 0 or a 1.", 1);
    return;
  }
  REXEC_Manual& manual = screens_.manual();
  if (manual.Text_Driving_Bits) return;
  manual.Bits_Driving_Text = true;
  Input_Memory_Address.setText(std::to_string(screens::bitsValue(Input_Bit, 4, 8)));
  Input_Op_Code(0).setText(std::to_string(screens::bitsValue(Input_Bit, 1, 3)));
  manual.Bits_Driving_Text = false;
  select(Input_Bit(Index == 8 ? 1 : Index + 1), 1);
}

// The op code is one digit 0 to 7. A refused entry goes on as the "0" put back.
void DERAZO_Input::Input_Op_Code_Change(int Index) {
  ui::TextBox& field = Input_Op_Code(Index);
  const std::string& text = field.Text();
  if (text.size() != 1 || text[0] < '0' || text[0] > '7') {
    refuseEntry(screens_.platform(), field, 12, "You may only input a number from 0 to 7.", 1);
  }
  REXEC_Manual& manual = screens_.manual();
  if (manual.Bits_Driving_Text) return;
  manual.Text_Driving_Bits = true;
  const int x = ui::ValInt(field.Text());
  for (int i = 3; i >= 1; --i) Input_Bit(i).setText((x & (1 << (3 - i))) != 0 ? "1" : "0");
  manual.Text_Driving_Bits = false;
  field.SetFocus();
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

  REXEC_Manual& manual = screens_.manual();
  if (manual.Bits_Driving_Text) return;
  manual.Text_Driving_Bits = true;
  const int x = ui::ValInt(Input_Memory_Address.Text());
  for (int i = 8; i >= 4; --i) Input_Bit(i).setText((x & (1 << (8 - i))) != 0 ? "1" : "0");
  manual.Text_Driving_Bits = false;
  Input_Memory_Address.SetFocus();
}

// Only the first case that applies is reported; the "0" put back passes silently.
void DERAZO_Input::memory_text_Change() {
  const std::string& text = memory_text.Text();
  if (text == "0") return;
  ui::Platform& platform = screens_.platform();
  if (!screens::startsWithDigit(text)) {
    refuseEntry(platform, memory_text, 13, kLocationDigits, 2);
  } else if (!screens::digitsAfterFirst(text)) {
    refuseEntry(platform, memory_text, 1, kLocationDigits, 2);
  } else if (!isLocation(text)) {
    refuseEntry(platform, memory_text, 2, kLocationRange, 2);
  }
}

void DERAZO_Input::Command_Send_to_Memory_Click() {
  for (int k = 1; k <= 8; ++k) {
    if (Input_Bit(k).Text().empty()) Input_Bit(k).setText("0");
  }
  // memory_text holds a valid location after every change; a text that somehow is not
  // one writes nowhere rather than outside the grid.
  if (!isLocation(memory_text.Text())) return;
  const int a = ui::ValInt(memory_text.Text());
  for (int b = 1; b <= 8; ++b) {
    Shape1(8 * a + b).setFillColor(screens::bitOf(Input_Bit(b)) == 1 ? ui::kYellow : ui::kWhite);
  }
  select(Input_Bit(1), 1);
  memory_text.setText(a == 31 ? "0" : std::to_string(a + 1));
}

}  // namespace volpar
