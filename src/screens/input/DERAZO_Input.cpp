// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/input/DERAZO_Input.h"

#include "machine/instruction_text.h"
#include "screens/machine_reading.h"

namespace volpar {

DERAZO_Input::DERAZO_Input(Screens& screens) : ui::Form("DERAZO_Input"), screens_(screens) {
  // Layout first: setting initial values must not raise any handler.
  layOutEntry();
  layOutMemoryGrid();
  layOutPanels();
  layOutMenus();
  connectHandlers();
  tooltipAt = [this](ui::Point at) { return memoryTooltip(at); };
  accessibleParts = [this] { return screens::inputParts(*this); };
  sideBySide = 1;
  holdsProgram = true;
  noteMemoryKept();
}

void DERAZO_Input::noteMemoryKept() {
  savedMemory_ = memoryColors();
  userMemory_ = savedMemory_;
}

void DERAZO_Input::noteUserWrote(int address) {
  for (int b = 1; b <= 8; ++b) {
    const int cell = 8 * address + b;
    userMemory_[static_cast<std::size_t>(cell - Shape1.LBound())] = Shape1(cell).FillColor();
  }
}

// Hovering over a row of the memory grid, in either arrangement, says what its byte is.
std::optional<ui::Form::Tooltip> DERAZO_Input::memoryTooltip(ui::Point at) const {
  for (int a = 0; a < 32; ++a) {
    const ui::Rect row = Shape1(8 * a + 1).formRect().united(Shape1(8 * a + 8).formRect());
    if (row.contains(at.x, at.y)) return Tooltip{memoryRowText(*this, a), row};
  }
  return std::nullopt;
}

std::vector<ui::Color> DERAZO_Input::memoryColors() const {
  std::vector<ui::Color> colors;
  for (const auto& cell : Shape1) colors.push_back(cell->FillColor());
  return colors;
}

void DERAZO_Input::connectHandlers() {
  for (int i = Input_Bit.LBound(); i <= Input_Bit.UBound(); ++i) {
    Input_Bit(i).onChange = [this, i] { Input_bit_Change(i); };
  }
  Input_Op_Code(0).onChange = [this] { Input_Op_Code_Change(0); };
  Input_Memory_Address.onChange = [this] { Input_Memory_Address_Change(); };
  memory_text.onChange = [this] { memory_text_Change(); };
  Command_Send_to_Memory.onClick = [this] { Command_Send_to_Memory_Click(); };
  onUnload = [this] { Form_Unload(); };
  Command_Execute_Program.onClick = [this] { Command_Execute_Program_Click(); };
  exec_text.onChange = [this] { exec_text_Change(); };
  Command_OK_For_Start_Location.onClick = [this] { Command_OK_For_Start_Location_Click(); };
  Command_Start_Location_Cancel.onClick = [this] { Command_Start_Location_Cancel_Click(); };
  Return_to_exec_screen.onClick = [this] { Return_to_exec_screen_Click(); };
  Command_Restart.onClick = [this] { Command_Restart_Click(); };
  Command_quit.onClick = [this] { Command_Quit_Click(); };
  Open_menu.onClick = [this] { Open_menu_Click(); };
  save_menu.onClick = [this] { save_menu_Click(); };
  exit_menu.onClick = [this] { exit_menu_Click(); };
  file_menu.onClick = [this] { file_menu_Click(); };
  cont_menu.onClick = [this] { cont_menu_Click(); };
  history_menu.onClick = [this] { history_menu_Click(); };
  exercise_menu.onClick = [this] { exercise_menu_Click(); };
  Command_Code_Info.onClick = [this] { Command_Code_Info_Click(); };
  Command_Code_Close.onClick = [this] { Command_Code_Close_Click(); };
}

}  // namespace volpar
