// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/control_array.h"
#include "ui/element.h"
#include "ui/form.h"

namespace volpar {

class Screens;

// The input screen: instruction entry, the start-location panel, the code panel, the
// menus, and the memory grid, which is the machine's memory.
class DERAZO_Input : public ui::Form {
 public:
  explicit DERAZO_Input(Screens& screens);

  // Entry elements.
  ui::Label Instruction_in_Binary{*this, "Instruction_in_Binary"};
  ui::ControlArray<ui::TextBox> Input_Bit{*this, "Input_Bit", 1, 8};
  ui::CommandButton Command_Execute_Program{*this, "Command_Execute_Program"};
  ui::Label Instruction_in_Decimal{*this, "Instruction_in_Decimal"};
  ui::ControlArray<ui::TextBox> Input_Op_Code{*this, "Input_Op_Code", 0, 0};
  ui::TextBox Input_Memory_Address{*this, "Input_Memory_Address"};
  ui::CommandButton Command_Code_Info{*this, "Command_Code_Info"};
  ui::Label Label_Memory_Location{*this, "Label_Memory_Location"};
  ui::TextBox memory_text{*this, "memory_text"};
  ui::CommandButton Command_Send_to_Memory{*this, "Command_Send_to_Memory"};
  ui::CommandButton Command_quit{*this, "Command_quit"};
  ui::CommandButton Command_Restart{*this, "Command_Restart"};
  ui::Label Label_MEMORY{*this, "Label_MEMORY"};
  ui::CommandButton Return_to_exec_screen{*this, "Return_to_exec_screen"};

  // The memory grid: bit b of address a is cell 8 * a + b; cell 0 holds no bit.
  ui::ControlArray<ui::Shape> Shape1{*this, "Shape1", 0, 256};
  // Address labels "0" to "31" beside the grid rows, by address; nothing changes them.
  std::vector<std::unique_ptr<ui::Label>> addressLabels;

  // Start-location panel.
  ui::Frame EXEC_FRAME{*this, "EXEC_FRAME"};
  ui::Label label_execute{*this, "label_execute"};
  ui::TextBox exec_text{*this, "exec_text"};
  ui::CommandButton Command_OK_For_Start_Location{*this, "Command_OK_For_Start_Location"};
  ui::CommandButton Command_Start_Location_Cancel{*this, "Command_Start_Location_Cancel"};

  // Code panel.
  ui::Frame Code_frame{*this, "Code_frame"};
  ui::Label Label_Description_ADD{*this, "Label_Description_ADD"};
  ui::Label Label_Description_LOAD{*this, "Label_Description_LOAD"};
  ui::Label Label_Description_STORE{*this, "Label_Description_STORE"};
  ui::Label Label_Description_INPUT{*this, "Label_Description_INPUT"};
  ui::Label Label_Description_OUTPUT{*this, "Label_Description_OUTPUT"};
  ui::Label Label_Description_BRANCH{*this, "Label_Description_BRANCH"};
  ui::Label Label_Description_BR_NEG{*this, "Label_Description_BR_NEG"};
  ui::Label Label_Description_BR_NN{*this, "Label_Description_BR_NN"};
  ui::CommandButton Command_Code_Close{*this, "Command_Code_Close"};

  // Menus.
  ui::Menu file_menu{*this, "file_menu"};
  ui::Menu Open_menu{*this, "Open_menu", &file_menu};
  ui::Menu save_menu{*this, "save_menu", &file_menu};
  ui::Menu exercise_menu{*this, "exercise_menu", &file_menu};
  ui::Menu exit_menu{*this, "exit_menu", &file_menu};
  ui::Menu help_menu{*this, "help_menu"};
  ui::Menu cont_menu{*this, "cont_menu", &help_menu};
  // Shown only where the platform has a history window.
  ui::Menu history_menu{*this, "history_menu", &help_menu};

  ui::CommonDialog CommonDialog1{*this, "CommonDialog1"};

  // Instruction entry.
  void Input_bit_Change(int Index);
  void Input_Op_Code_Change(int Index);
  void Input_Memory_Address_Change();
  void memory_text_Change();
  void Command_Send_to_Memory_Click();

  // Start execution.
  void Form_Load();
  void Form_Unload();
  void Command_Execute_Program_Click();
  void exec_text_Change();
  void Command_OK_For_Start_Location_Click();
  void Command_Start_Location_Cancel_Click();
  void Return_to_exec_screen_Click();
  void Command_Restart_Click();
  void Command_Quit_Click();

  // Enter in the start address starts the run, whichever button is the default: after a
  // run the panel is open while Send to Memory is the default again.
  ui::CommandButton* enterButton(ui::Element* focused) override;

  // Menus and code information.
  void Open_menu_Click();
  // What Open does with the chosen file; the command line opens its file the same way.
  void openProgramFile(const std::string& path);
  // A program handed over whole (a link's), one text per byte as a program file holds it:
  // after the question about an unsaved program, memory holds it as a program typed in,
  // not saved, and Save asks for a name.
  void openProgram(const std::array<std::string, 32>& bytes);
  // The same without the question: memory holds the bytes as a program typed in.
  void placeProgram(const std::array<std::string, 32>& bytes);
  void save_menu_Click();
  // The save dialog and the save; false when the user cancelled or the save failed.
  bool saveProgram();
  void exit_menu_Click();

  // A program in memory that was never saved is not lost without a question: true when
  // memory matches the last load or save (or a fresh screen), or the user chose Don't
  // Save, or saved it; false when the user cancelled or the save did not happen.
  enum class Discarding { ByOpening, ByQuitting, ByRestarting };
  bool mayDiscardProgram(Discarding why);
  // Quit, File > Exit and closing a window: the end, after the question.
  void endProgramAfterAsking();
  void file_menu_Click();
  void cont_menu_Click();
  void history_menu_Click();
  void exercise_menu_Click();
  void Command_Code_Info_Click();
  void Command_Code_Close_Click();

 private:
  void layOutEntry();
  void layOutMemoryGrid();
  void layOutAddressLabels();
  void layOutPanels();
  void layOutStartLocationPanel();
  void layOutCodePanel();
  void layOutMenus();
  void orderTabs();
  void connectHandlers();
  std::vector<ui::Color> memoryColors() const;
  std::optional<Tooltip> memoryTooltip(ui::Point at) const;
  // Memory as the user made it is now what it holds: after a load, a save or a new screen.
  void noteMemoryKept();
  // The user has sent a byte to `address`.
  void noteUserWrote(int address);

  Screens& screens_;
  std::vector<ui::Color> savedMemory_;  // the grid as last loaded or saved
  // The grid as the user made it: as last loaded or saved, with the bytes sent since. Where
  // memory differs from it, a running program has stored there.
  std::vector<ui::Color> userMemory_;
};

}  // namespace volpar
