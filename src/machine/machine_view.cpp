// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/machine_view.h"

#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "ui/text_value.h"

namespace volpar {
namespace {

using Cells = ui::ControlArray<ui::Shape>;

// Cells LBound..UBound, the lowest index most significant; `one` is the colour of a 1.
int cellsValue(const Cells& cells, ui::Color one) {
  int value = 0;
  for (const auto& cell : cells) value = value * 2 + (cell->FillColor() == one ? 1 : 0);
  return value;
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
    case Register::PC: return cellsValue(rexec_.ShapePC, ui::kYellow);
    case Register::AR: return cellsValue(rexec_.Shapear, ui::kYellow);
    case Register::IR: return cellsValue(rexec_.SHAPE_IR, ui::kRed);
    case Register::X: return cellsValue(rexec_.Shape_x, ui::kRed);
    case Register::Y: return cellsValue(rexec_.shapey, ui::kRed);
    case Register::S: return cellsValue(rexec_.Shapet, ui::kRed);
    case Register::Output: return cellsValue(rexec_.Shapeo, ui::kRed);
  }
  return 0;
}

// Decoder cell k stands for op code k - 1.
std::optional<MachineView::OpCode> MachineView::decoded() const {
  const auto cells = rexec_.SHAPEID.run(1, 8);
  for (std::size_t k = 0; k < cells.size(); ++k) {
    if (cells[k]->FillColor() == ui::kGreen) return static_cast<OpCode>(k);
  }
  return std::nullopt;
}

int MachineView::memory(int address) const {
  int value = 0;
  for (int j = 1; j <= 8; ++j) {
    value = value * 2 + (input_.Shape1(8 * address + j).FillColor() == ui::kYellow ? 1 : 0);
  }
  return value;
}

}  // namespace volpar
