// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/machine_view.h"

#include "machine/REXEC_Manual.h"
#include "machine/cell_reading.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "ui/text_value.h"

namespace volpar {
namespace {

// Cells LBound..UBound, the lowest index most significant.
int cellsValue(const ui::ControlArray<ui::Shape>& cells, ui::Color one) {
  return machine::cellsValue(cells, cells.LBound(), cells.UBound(), one);
}

}  // namespace

int MachineView::value(Register r) const {
  switch (r) {
    case Register::PC: return ui::ValInt(rexec_.Register_PC_Decimal.Caption());
    case Register::AR: return ui::ValInt(rexec_.Register_Address_Decimal.Caption());
    case Register::IR: return cells(Register::IR);
    case Register::X: return ui::ValInt(rexec_.Register_X_Decimal.Caption());
    case Register::Y: return ui::ValInt(rexec_.Register_Y_Decimal.Caption());
    case Register::S: return ui::ValInt(rexec_.Register_S_Decimal.Caption());
    case Register::Output: return ui::ValInt(rexec_.Register_Output_Decimal.Caption());
  }
  return 0;
}

int MachineView::cells(Register r) const {
  switch (r) {
    case Register::PC: return cellsValue(rexec_.ShapePC, machine::kAddressOne);
    case Register::AR: return cellsValue(rexec_.Shapear, machine::kAddressOne);
    case Register::IR: return cellsValue(rexec_.SHAPE_IR, machine::kRegisterOne);
    case Register::X: return cellsValue(rexec_.Shape_x, machine::kRegisterOne);
    case Register::Y: return cellsValue(rexec_.shapey, machine::kRegisterOne);
    case Register::S: return cellsValue(rexec_.Shapet, machine::kRegisterOne);
    case Register::Output: return cellsValue(rexec_.Shapeo, machine::kRegisterOne);
  }
  return 0;
}

// Decoder cell k stands for op code k - 1.
std::optional<MachineView::OpCode> MachineView::decoded() const { return decoded(rexec_); }

std::optional<MachineView::OpCode> MachineView::decoded(const REXEC& rexec) {
  const int k = machine::litIndex(rexec.SHAPEID, 1, 8, machine::kDecoded);
  if (k < 0) return std::nullopt;
  return static_cast<OpCode>(k - 1);
}

int MachineView::litPhase() const { return litPhase(rexec_); }

int MachineView::litPhase(const REXEC& rexec) {
  return machine::litIndex(rexec.Shape_Clock, 0, 7, machine::kLit);
}

int MachineView::memory(int address) const {
  return machine::cellsValue(input_.Shape1, 8 * address + 1, 8 * address + 8, machine::kMemoryOne);
}

}  // namespace volpar
