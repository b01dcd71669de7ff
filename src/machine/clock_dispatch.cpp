// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "machine/REXEC_Manual.h"
#include "machine/register_transfers.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "ui/text_value.h"

namespace volpar {
namespace {

using ui::kCyan;
using ui::kGreen;
using ui::kRed;
using ui::kWhite;

using CellsOf = ui::ControlArray<ui::Shape> REXEC::*;

struct PhaseCell {
  CellsOf cells;
  int index;
};

// The phase cells wired to each decoder cell: the phases T4 to T7 in which that op code
// acts. SHAPET4(7) is missing on purpose: it is the negative flag.
struct OpCodeCells {
  std::array<PhaseCell, 4> cells;
  int count;
};

constexpr std::array<OpCodeCells, 8> kPhaseCells{{
    {{{{&REXEC::SHAPET4, 0}, {&REXEC::shapet5, 0}, {&REXEC::shapet6, 0}, {&REXEC::shapet7, 0}}}, 4},
    {{{{&REXEC::SHAPET4, 1}, {&REXEC::shapet5, 1}}}, 2},
    {{{{&REXEC::SHAPET4, 2}, {&REXEC::shapet5, 2}}}, 2},
    {{{{&REXEC::SHAPET4, 3}, {&REXEC::shapet6, 1}, {&REXEC::shapet7, 1}}}, 3},
    {{{{&REXEC::SHAPET4, 4}, {&REXEC::shapet5, 3}, {&REXEC::shapet6, 2}}}, 3},
    {{{{&REXEC::SHAPET4, 5}}}, 1},
    {{{{&REXEC::SHAPET4, 6}}}, 1},
    {{{{&REXEC::SHAPET4, 8}}}, 1},
}};

void whiten(ui::ControlArray<ui::Shape>& cells) {
  for (const auto& cell : cells) cell->setFillColor(kWhite);
}

// The decoder matrix and the phase cells go white; the negative flag is then restored
// from S, because clearing SHAPET4 whitened it too.
void clearDecoder(REXEC& rexec) {
  whiten(rexec.SHAPEID);
  whiten(rexec.SHAPET4);
  transfers::refreshNegativeFlag(rexec);
  whiten(rexec.shapet5);
  whiten(rexec.shapet6);
  whiten(rexec.shapet7);
}

// An op-code bit matches only an IR cell of exactly its colour: red for 1, white for 0.
bool opCodeIs(const std::array<ui::Color, 3>& opCodeCells, int opCode) {
  for (int i = 1; i <= 3; ++i) {
    const ui::Color want = (opCode >> (3 - i)) & 1 ? kRed : kWhite;
    if (opCodeCells[static_cast<std::size_t>(i - 1)] != want) return false;
  }
  return true;
}

void decode(REXEC& rexec) {
  const std::array<ui::Color, 3> opCodeCells = {
      rexec.SHAPE_IR(1).FillColor(), rexec.SHAPE_IR(2).FillColor(), rexec.SHAPE_IR(3).FillColor()};
  for (int k = 1; k <= 8; ++k) {
    if (!opCodeIs(opCodeCells, k - 1)) continue;
    ui::Shape& decoderCell = rexec.SHAPEID(k);
    decoderCell.setFillColor(kGreen);
    const OpCodeCells& wired = kPhaseCells[static_cast<std::size_t>(k - 1)];
    for (int c = 0; c < wired.count; ++c) {
      const PhaseCell& cell = wired.cells[static_cast<std::size_t>(c)];
      (rexec.*cell.cells)(cell.index).setFillColor(decoderCell.FillColor());
    }
  }
}

}  // namespace

void REXEC_Manual::openPhase(REXEC& rexec, int phase, std::initializer_list<ui::Shape*> lampsOut) {
  At_Phase_Zero = false;
  const auto clock = rexec.Shape_Clock.run(phase - 1, phase);
  clock[0]->setFillColor(kWhite);
  clock[1]->setFillColor(kCyan);
  for (ui::Shape* lamp : lampsOut) lamp->setFillColor(kWhite);
  rexec.Command_Resume.setEnabled(false);
  rexec.Command_One_instruction.setEnabled(false);
  rexec.Command_View_Memory.setEnabled(true);
  rexec.Command_Return_to_Input.setEnabled(false);
}

void REXEC_Manual::Run_Clock_Phase() {
  switch (Clock_Phase) {
    case 0: Phase_T0(); break;
    case 1: Phase_T1(); break;
    case 2: Phase_T2(); break;
    case 3: Phase_T3(); break;
    case 4: Phase_T4(); break;
    case 5: Phase_T5(); break;
    case 6: Phase_T6(); break;
    case 7: Phase_T7(); break;
    default: break;
  }
}

// The instruction boundary: the only phase at which the clock stops on request. Manual
// mode is tested first, so a pause requested there waits for an automatic T0.
void REXEC_Manual::Phase_T0() {
  REXEC& rexec = screens_.rexec();
  At_Phase_Zero = true;
  rexec.Shape_Clock(0).setFillColor(kCyan);
  rexec.Shape_Clock(7).setFillColor(kWhite);
  rexec.Shapexyt.setFillColor(kWhite);
  rexec.Shapeit.setFillColor(kWhite);
  if (rexec.manual_radio.Value()) {
    rexec.Timer1.setEnabled(false);
    rexec.Command_Begin_Step.setEnabled(true);
    rexec.Command_Pause.setEnabled(false);
    rexec.Command_Resume.setEnabled(false);
    rexec.Command_One_instruction.setEnabled(false);
    rexec.Command_View_Memory.setEnabled(true);
    rexec.Command_Return_to_Input.setEnabled(true);
  } else if (Pause_At_T0) {
    Pause_At_T0 = false;
    rexec.Timer1.setEnabled(false);
    rexec.Command_Begin_Step.setEnabled(false);
    rexec.Command_Pause.setEnabled(false);
    rexec.Command_Resume.setEnabled(true);
    rexec.Command_One_instruction.setEnabled(true);
    rexec.Command_View_Memory.setEnabled(true);
    rexec.Command_Return_to_Input.setEnabled(true);
  }
  Clock_Phase = 1;
}

// Copy the program counter to the address register.
void REXEC_Manual::Phase_T1() {
  REXEC& rexec = screens_.rexec();
  openPhase(rexec, 1);
  transfers::copyBits(rexec.ShapePC, ui::kYellow, rexec.Shapear, ui::kYellow, 4, 8);
  rexec.Register_Address_Decimal.setCaption(rexec.Register_PC_Decimal.Caption());
  Clock_Phase = 2;
}

// Fetch memory[PC] into the instruction register and decode it.
void REXEC_Manual::Phase_T2() {
  REXEC& rexec = screens_.rexec();
  const DERAZO_Input& input = screens_.derazoInput();
  openPhase(rexec, 2);
  clearDecoder(rexec);
  const int p = ui::ValInt(rexec.Register_PC_Decimal.Caption());
  transfers::readMemoryByte(input, p, rexec.SHAPE_IR);
  const auto ir = rexec.SHAPE_IR.run(1, 8);
  const int address = Bits_To_Number(ir[7]->FillColor(), ir[6]->FillColor(), ir[5]->FillColor(),
                                     ir[4]->FillColor(), ir[3]->FillColor(), ir[2]->FillColor(),
                                     ir[1]->FillColor(), ir[0]->FillColor(), false);
  rexec.IR_Address_Decimal.setCaption(transfers::DecimalText(address));
  decode(rexec);
  Clock_Phase = 3;
}

}  // namespace volpar
