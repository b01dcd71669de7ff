// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "ui/control_array.h"
#include "ui/element.h"
#include "ui/form.h"

namespace volpar {

class Screens;

// The execution screen: its elements are both the display and the storage of the
// machine's registers, decoder, clock and lamps.
class REXEC : public ui::Form {
 public:
  explicit REXEC(Screens& screens);

  // The eighty data-path lines, drawn once and never changed.
  std::vector<std::unique_ptr<ui::Line>> dataPathLines;

  // Phase table: clock column and fetch steps.
  ui::ControlArray<ui::Shape> Shape_Clock{*this, "Shape_Clock", 0, 7};
  ui::Label Label_T0{*this, "Label_T0"};
  ui::Label Label_T1{*this, "Label_T1"};
  ui::Label Label_T2{*this, "Label_T2"};
  ui::Label Label_T3{*this, "Label_T3"};
  ui::Label Label_T4{*this, "Label_T4"};
  ui::Label Label_T5{*this, "Label_T5"};
  ui::Label Label_T6{*this, "Label_T6"};
  ui::Label Label_T7{*this, "Label_T7"};
  ui::Label Label_Ready{*this, "Label_Ready"};
  ui::Label Label_PCAR{*this, "Label_PCAR"};
  ui::Label Label_MIR{*this, "Label_MIR"};
  ui::Label Label_IPC{*this, "Label_IPC"};

  // Phase cells of T4 to T7; SHAPET4(7) is the negative flag cell.
  ui::ControlArray<ui::Shape> SHAPET4{*this, "SHAPET4", 0, 8};
  ui::ControlArray<ui::Shape> shapet5{*this, "shapet5", 0, 3};
  ui::ControlArray<ui::Shape> shapet6{*this, "shapet6", 0, 2};
  ui::ControlArray<ui::Shape> shapet7{*this, "shapet7", 0, 1};
  ui::Label Label_ADD1{*this, "Label_ADD1"};
  ui::Label Label_LOAD1{*this, "Label_LOAD1"};
  ui::Label Label_STORE1{*this, "Label_STORE1"};
  ui::Label Label_INPUT1{*this, "Label_INPUT1"};
  ui::Label Label_OUTPUT1{*this, "Label_OUTPUT1"};
  ui::Label Label_BRANCH{*this, "Label_BRANCH"};
  ui::Label Label_BR_NEG1{*this, "Label_BR_NEG1"};
  ui::Label Label_S7A{*this, "Label_S7A"};
  ui::Label Label_BR_NN1{*this, "Label_BR_NN1"};
  ui::Label Label_ADD2{*this, "Label_ADD2"};
  ui::Label Label_LOAD2{*this, "Label_LOAD2"};
  ui::Label Label_STORE2{*this, "Label_STORE2"};
  ui::Label Label_OUTPUT2{*this, "Label_OUTPUT2"};
  ui::Label Label_ADD3{*this, "Label_ADD3"};
  ui::Label Label_INPUT2{*this, "Label_INPUT2"};
  ui::Label Label_OUTPUT3{*this, "Label_OUTPUT3"};
  ui::Label Label_ADD4{*this, "Label_ADD4"};
  ui::Label Label_INPUT3{*this, "Label_INPUT3"};

  // Transfer lamps and their step labels.
  ui::Shape shape_irar{*this, "shape_irar"};
  ui::Shape shape_irpc{*this, "shape_irpc"};
  ui::Shape Shapemy{*this, "Shapemy"};
  ui::Shape shapemt{*this, "shapemt"};
  ui::Shape Shapetm{*this, "Shapetm"};
  ui::Shape Shapeto{*this, "Shapeto"};
  ui::Shape Shapetx{*this, "Shapetx"};
  ui::Shape Shape_Stop{*this, "Shape_Stop"};
  ui::Shape Shapexyt{*this, "Shapexyt"};
  ui::Shape Shapeit{*this, "Shapeit"};
  ui::Label Label_IR_To_AR{*this, "Label_IR_To_AR"};
  ui::Label Label_IR_To_PC{*this, "Label_IR_To_PC"};
  ui::Label Label_Copy_memory_To_Y{*this, "Label_Copy_memory_To_Y"};
  ui::Label Label_Copy_Memory_to_S{*this, "Label_Copy_Memory_to_S"};
  ui::Label Label_Copy_S_To_Memory{*this, "Label_Copy_S_To_Memory"};
  ui::Label Label_Copy_S_To_Output{*this, "Label_Copy_S_To_Output"};
  ui::Label Label_Copy_S_To_X{*this, "Label_Copy_S_To_X"};
  ui::Label Label_Stop{*this, "Label_Stop"};
  ui::Label Label_XY_To_S{*this, "Label_XY_To_S"};
  ui::Label Label_Copy_Input_To_S{*this, "Label_Copy_Input_To_S"};

  // The inverting bubble of the branch-if-not-negative gate; nothing touches it.
  ui::Shape Shape1{*this, "Shape1"};

  // Register frames and their contents.
  ui::Frame Label_Window_PC{*this, "Label_Window_PC"};
  ui::ControlArray<ui::Shape> ShapePC{*this, "ShapePC", 4, 8};
  ui::Label Register_PC_Decimal{*this, "Register_PC_Decimal"};

  ui::Frame Label_Window_IR{*this, "Label_Window_IR"};
  ui::ControlArray<ui::Shape> SHAPE_IR{*this, "SHAPE_IR", 1, 8};
  ui::Label IR_Address_Decimal{*this, "IR_Address_Decimal"};

  ui::Frame Label_Window_Decoder{*this, "Label_Window_Decoder"};
  ui::Label Label_ADD5{*this, "Label_ADD5"};
  ui::Label Label_LOAD3{*this, "Label_LOAD3"};
  ui::Label Label_STORE3{*this, "Label_STORE3"};
  ui::Label Label_INPUT4{*this, "Label_INPUT4"};
  ui::Label Label_OUTPUT4{*this, "Label_OUTPUT4"};
  ui::Label Label_BRANCH2{*this, "Label_BRANCH2"};
  ui::Label Label_NEG2{*this, "Label_NEG2"};
  ui::Label Label_BR_NN2{*this, "Label_BR_NN2"};
  ui::ControlArray<ui::Shape> SHAPEID{*this, "SHAPEID", 1, 8};

  ui::Frame Label_Window_AR{*this, "Label_Window_AR"};
  ui::ControlArray<ui::Shape> Shapear{*this, "Shapear", 4, 8};
  ui::Label Register_Address_Decimal{*this, "Register_Address_Decimal"};

  ui::Frame Memory{*this, "Memory"};
  ui::ControlArray<ui::Shape> Register_Memory{*this, "Register_Memory", 0, 8};

  ui::Frame Label_Window_ALU{*this, "Label_Window_ALU"};
  ui::Label Label_X1{*this, "Label_X1"};
  ui::Label Label_Y1{*this, "Label_Y1"};
  ui::Label Label_S1{*this, "Label_S1"};
  ui::ControlArray<ui::Shape> Shape_x{*this, "Shape_x", 1, 8};
  ui::ControlArray<ui::Shape> shapey{*this, "shapey", 1, 8};
  ui::ControlArray<ui::Shape> Shapet{*this, "Shapet", 1, 8};
  ui::Label Label_Plus_Sign{*this, "Label_Plus_Sign"};
  ui::Label Label_Equal_Sign{*this, "Label_Equal_Sign"};
  ui::Label Register_X_Decimal{*this, "Register_X_Decimal"};
  ui::Label Register_Y_Decimal{*this, "Register_Y_Decimal"};
  ui::Label Register_S_Decimal{*this, "Register_S_Decimal"};

  ui::Frame Label_Window_Output{*this, "Label_Window_Output"};
  ui::ControlArray<ui::Shape> Shapeo{*this, "Shapeo", 1, 8};
  ui::Label Register_Output_Decimal{*this, "Register_Output_Decimal"};

  // Run buttons.
  ui::CommandButton Command_Begin_Step{*this, "Command_Begin_Step"};
  ui::CommandButton Command_Resume{*this, "Command_Resume"};
  ui::CommandButton Command_Pause{*this, "Command_Pause"};
  ui::CommandButton Command_One_instruction{*this, "Command_One_instruction"};
  ui::CommandButton Command_View_Memory{*this, "Command_View_Memory"};
  ui::CommandButton Command_Return_to_Input{*this, "Command_Return_to_Input"};
  ui::CommandButton Command_Options{*this, "Command_Options"};
  ui::CommandButton Command_Restart{*this, "Command_Restart"};
  ui::CommandButton Command_Quit{*this, "Command_Quit"};

  // Options panel.
  ui::Frame OPTIONS_FRAME{*this, "OPTIONS_FRAME"};
  ui::OptionButton manual_radio{*this, "manual_radio"};
  ui::OptionButton automatic_radio{*this, "automatic_radio"};
  ui::Label Label_Show_clock_Stuff{*this, "Label_Show_clock_Stuff"};
  ui::Label Label_Slow{*this, "Label_Slow"};
  ui::Label Label_Fast{*this, "Label_Fast"};
  ui::Label Hertz{*this, "Hertz"};
  ui::HScrollBar time_scroll{*this, "time_scroll"};
  ui::Label Time_Hertz{*this, "Time_Hertz"};
  ui::CommandButton Command_Options_Close{*this, "Command_Options_Close"};
  ui::CheckBox Stop_For_Output{*this, "Stop_For_Output"};

  // Input window of the INPUT instruction.
  ui::Frame Input_Window{*this, "Input_Window"};
  ui::ControlArray<ui::TextBox> Input_bit{*this, "Input_bit", 1, 8};
  ui::TextBox Text_Input_Decimal{*this, "Text_Input_Decimal"};
  ui::CommandButton Command_Input_Window_OK{*this, "Command_Input_Window_OK"};

  ui::Timer Timer1{*this, "Timer1"};

  // Run control.
  void Command_Begin_Step_Click();
  void Timer1_Timer();
  void Command_Pause_Click();
  void Command_Resume_Click();
  void Command_One_instruction_Click();
  void Command_Options_Click();
  void Command_Options_Close_Click();
  void automatic_radio_Click();
  void manual_radio_Click();
  void time_scroll_Change();
  void Command_Restart_Click();
  void Command_Quit_Click();
  void Form_Unload();
  void Form_Help();

  // Input window.
  void Input_bit_Change(int Index);
  void Text_Input_Decimal_Change();
  void Command_Input_Window_OK_Click();

  // Memory view and return.
  void Command_View_Memory_Click();
  void Command_Return_to_Input_Click();

  // Every register, decoder, phase, lamp and clock cell white, as a fresh run needs them:
  // the engine reads colours, so a cell left red by the last run would be read as a 1.
  void whitenMachineCells();

 private:
  void beginOrStep();
  void layOutPhaseTable();
  void layOutClockColumn();
  void layOutPhaseCells();
  void layOutLamps();
  void layOutDataPathLines();
  void layOutRegisters();
  void layOutAddressRegisters();
  void layOutDecoder();
  void layOutAluAndOutput();
  void layOutButtons();
  void layOutOptions();
  void layOutInputWindow();
  void orderTabs();
  void connectHandlers();

  Screens& screens_;
};

}  // namespace volpar
