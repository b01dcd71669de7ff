// SPDX-License-Identifier: GPL-3.0-or-later
#include <string_view>

#include "machine/REXEC_Manual.h"
#include "machine/cell_reading.h"
#include "machine/register_transfers.h"
#include "screens/execution/REXEC.h"
#include "screens/field_checks.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "ui/text_value.h"

namespace volpar {
namespace {

using ui::kCyan;
using ui::kRed;
using ui::kWhite;

// Op code k - 1 is executing when decoder cell k is exactly green.
bool executing(const REXEC& rexec, int k) {
  return rexec.SHAPEID(k).FillColor() == machine::kDecoded;
}

int operandAddress(const REXEC& rexec) {
  return ui::ValInt(rexec.Register_Address_Decimal.Caption());
}

// The addition: X and Y come from their captions, and the caption of S is written from
// the sum itself; the result wraps modulo 256 and no carry is shown.
void addXAndY(REXEC& rexec) {
  rexec.Shapexyt.setFillColor(kCyan);
  const int y = ui::ValInt(rexec.Register_Y_Decimal.Caption());
  const int x = ui::ValInt(rexec.Register_X_Decimal.Caption());
  const int s = ((x + y) % 256 + 256) % 256;
  rexec.Register_S_Decimal.setCaption(transfers::DecimalText(s));
  transfers::writeNumber(rexec.Shapet, 1, 8, s, kRed);
  transfers::refreshNegativeFlag(rexec);
}

void copyInputToS(REXEC& rexec) {
  rexec.Shapeit.setFillColor(kCyan);
  for (int j = 1; j <= 8; ++j) {
    ui::TextBox& box = rexec.Input_bit(j);
    if (box.Text().empty()) box.setText("0");
    rexec.Shapet(j).setFillColor(screens::bitOf(box) == 1 ? kRed : kWhite);
  }
  transfers::refreshCaption(rexec.Shapet, rexec.Register_S_Decimal);
  transfers::refreshNegativeFlag(rexec);
  rexec.Command_Input_Window_OK.setEnabled(false);
  rexec.Input_Window.setEnabled(false);
}

// INPUT waits here: the clock stops and only the input window's OK goes on.
void openInputWindow(REXEC& rexec) {
  rexec.Shape_Stop.setFillColor(kCyan);
  rexec.Input_Window.setEnabled(true);
  rexec.Command_Input_Window_OK.setEnabled(true);
  rexec.Command_Input_Window_OK.setDefault(true);
  rexec.Command_Begin_Step.setEnabled(false);
  for (int j = 1; j <= 8; ++j) rexec.Input_bit(j).setEnabled(true);
  rexec.Timer1.setEnabled(false);
  rexec.Command_Input_Window_OK.setCaption(rexec.manual_radio.Value() ? i18n::mark("&Step")
                                                                      : i18n::mark("&Resume"));
  // The student types the value over the selected one and presses Enter.
  ui::TextBox& decimal = rexec.Text_Input_Decimal;
  decimal.SetFocus();
  decimal.setSelection(0, static_cast<int>(decimal.Text().size()));
}

// OUTPUT stops only the automatic clock, and only when "Stop for Output" is ticked.
void stopForOutput(REXEC& rexec) {
  rexec.Shape_Stop.setFillColor(kCyan);
  if (rexec.Stop_For_Output.Value() == 1 && !rexec.manual_radio.Value()) {
    rexec.Timer1.setEnabled(false);
    rexec.Command_Resume.setEnabled(true);
    rexec.Command_Pause.setEnabled(false);
  }
}

}  // namespace

// Memory to Y (ADD), memory to S (LOAD), S to memory (STORE), S to Output (OUTPUT).
void REXEC_Manual::Phase_T5() {
  REXEC& rexec = screens_.rexec();
  DERAZO_Input& input = screens_.derazoInput();
  openPhase(rexec, 5, {&rexec.shape_irar, &rexec.shape_irpc});
  if (executing(rexec, 1)) {
    rexec.Shapemy.setFillColor(kCyan);
    transfers::readMemoryByte(input, operandAddress(rexec), rexec.shapey);
    transfers::refreshCaption(rexec.shapey, rexec.Register_Y_Decimal);
  }
  if (executing(rexec, 2)) {
    rexec.shapemt.setFillColor(kCyan);
    transfers::readMemoryByte(input, operandAddress(rexec), rexec.Shapet);
    transfers::refreshNegativeFlag(rexec);
    transfers::refreshCaption(rexec.Shapet, rexec.Register_S_Decimal);
  }
  if (executing(rexec, 3)) {
    rexec.Shapetm.setFillColor(kCyan);
    transfers::writeMemoryByte(rexec.Shapet, input, operandAddress(rexec));
  }
  if (executing(rexec, 5)) {
    rexec.Shapeto.setFillColor(kCyan);
    transfers::copyBits(rexec.Shapet, kRed, rexec.Shapeo, kRed, 1, 8);
    rexec.Register_Output_Decimal.setCaption(rexec.Register_S_Decimal.Caption());
  }
  Clock_Phase = 6;
}

// S to X (ADD); INPUT opens the input window and waits; OUTPUT may stop the clock.
void REXEC_Manual::Phase_T6() {
  REXEC& rexec = screens_.rexec();
  openPhase(rexec, 6, {&rexec.Shapemy, &rexec.shapemt, &rexec.Shapetm, &rexec.Shapeto});
  if (executing(rexec, 1)) {
    rexec.Shapetx.setFillColor(kCyan);
    transfers::copyBits(rexec.Shapet, kRed, rexec.Shape_x, kRed, 1, 8);
    transfers::refreshCaption(rexec.Shape_x, rexec.Register_X_Decimal);
  }
  if (executing(rexec, 4)) {
    openInputWindow(rexec);
    return;
  }
  if (executing(rexec, 5)) stopForOutput(rexec);
  Clock_Phase = 7;
}

// X + Y into S (ADD), the input bits into S (INPUT); the instruction ends.
void REXEC_Manual::Phase_T7() {
  REXEC& rexec = screens_.rexec();
  openPhase(rexec, 7, {&rexec.Shape_Stop, &rexec.Shapetx});
  if (executing(rexec, 1)) addXAndY(rexec);
  if (executing(rexec, 4)) copyInputToS(rexec);
  Clock_Phase = 0;
}

}  // namespace volpar
