// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/machine_reading.h"

#include "i18n/text.h"
#include "machine/cell_reading.h"
#include "machine/instruction_text.h"
#include "machine/machine_view.h"
#include "machine/phase_explanation.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "ui/text_value.h"

namespace volpar::screens {

namespace {

using i18n::fill;
using i18n::tr;
using Cells = ui::ControlArray<ui::Shape>;

// A clock ticking more often than this (over two phases a second) runs too fast for a
// screen reader to say each phase.
constexpr int kQuietBelowMs = 500;

std::string bitsOf(const Cells::Run& cells, ui::Color one) {
  std::string bits;
  for (const auto& cell : cells) bits += bitMark({cell.get(), one});
  return bits;
}

// Bits as the engine reads them: only a 1 counts.
int valueOf(const std::string& bits) {
  int value = 0;
  for (char b : bits) value = value * 2 + (b == '1' ? 1 : 0);
  return value;
}

// "5, binary 00101"; a register not yet written (empty caption) says only its bits.
ui::Reading registerReading(const std::string& name, const ui::Label* decimal, Cells::Run cells,
                            ui::Color one, const ui::Element& place) {
  return {name,
          [decimal, cells, one] {
            const std::string bits = bitsOf(cells, one);
            // The memory word has no caption: its number is its bits'.
            const std::string number = decimal ? decimal->Caption() : std::to_string(valueOf(bits));
            // TRANSLATORS: a register read aloud: %1 its bits ("00101").
            const std::string binary = fill(tr("binary %1"), {bits});
            return number.empty() ? binary : number + ", " + binary;
          },
          &place};
}

Cells::Run allOf(const Cells& cells) { return cells.run(cells.LBound(), cells.UBound()); }

// The lamps with their step labels, in the order the data path draws them.
std::vector<std::pair<const ui::Shape*, const ui::Label*>> lamps(const REXEC& r) {
  return {{&r.shape_irar, &r.Label_IR_To_AR},      {&r.shape_irpc, &r.Label_IR_To_PC},
          {&r.Shapemy, &r.Label_Copy_memory_To_Y}, {&r.shapemt, &r.Label_Copy_Memory_to_S},
          {&r.Shapetm, &r.Label_Copy_S_To_Memory}, {&r.Shapeto, &r.Label_Copy_S_To_Output},
          {&r.Shapetx, &r.Label_Copy_S_To_X},      {&r.Shape_Stop, &r.Label_Stop},
          {&r.Shapexyt, &r.Label_XY_To_S},         {&r.Shapeit, &r.Label_Copy_Input_To_S}};
}

// The whole byte and what it means: "37, binary 00100101, LOAD 5" (the caption beside the
// register shows only its address field).
ui::Reading instructionReading(const REXEC& r) {
  return {std::string(i18n::shown(r.Label_Window_IR.Caption())),
          [cells = allOf(r.SHAPE_IR)] {
            const std::string bits = bitsOf(cells, machine::kRegisterOne);
            return std::to_string(valueOf(bits)) + ", " + fill(tr("binary %1"), {bits}) + ", " +
                   instructionText(valueOf(bits));
          },
          &r.Label_Window_IR};
}

ui::Reading decoderReading(const REXEC& r) {
  return {std::string(i18n::shown(r.Label_Window_Decoder.Caption())),
          [&r] {
            const int k = machine::litIndex(r.SHAPEID, 1, 8, machine::kDecoded);
            return std::string(k < 0 ? tr("none") : opCodeName(k - 1));
          },
          &r.Label_Window_Decoder};
}

ui::Reading clockReading(const REXEC& r) {
  return {std::string(tr("Clock")),
          [&r] {
            const int k = MachineView::litPhase(r);
            return k < 0 ? std::string(tr("not started"))
                         : fill(tr("phase T%1"), {std::to_string(k)});
          },
          &r.Shape_Clock(0)};
}

ui::Reading lampsReading(const REXEC& r) {
  return {std::string(tr("Lit lamps")),
          [all = lamps(r)] {
            std::string lit;
            for (const auto& [lamp, label] : all) {
              if (lamp->FillColor() != machine::kLit) continue;
              std::string caption(i18n::shown(label->Caption()));
              if (!caption.empty() && caption.back() == '.') caption.pop_back();
              lit += (lit.empty() ? "" : ", ") + caption;
            }
            return lit.empty() ? std::string(tr("none")) : lit;
          },
          &r.Shapemy};
}

ui::Reading inputWindowReading(const REXEC& r) {
  return {std::string(tr("Input window")),
          [&r] {
            // What is typed, the box itself says: news at each key would drown it.
            return std::string(r.Input_Window.enabled() ? tr("waiting for a value")
                                                        : tr("not waiting"));
          },
          &r.Input_Window};
}

}  // namespace

std::vector<ui::Reading> executionReadings(const REXEC& r) {
  std::vector<ui::Reading> all;
  all.push_back(clockReading(r));
  all.push_back(lampsReading(r));
  all.push_back(registerReading(std::string(i18n::shown(r.Label_Window_PC.Caption())),
                                &r.Register_PC_Decimal, allOf(r.ShapePC), machine::kAddressOne,
                                r.Label_Window_PC));
  all.push_back(instructionReading(r));
  all.push_back(decoderReading(r));
  all.push_back(registerReading(std::string(i18n::shown(r.Label_Window_AR.Caption())),
                                &r.Register_Address_Decimal, allOf(r.Shapear), machine::kAddressOne,
                                r.Label_Window_AR));
  all.push_back(registerReading(std::string(i18n::shown(r.Memory.Caption())), nullptr,
                                r.Register_Memory.run(1, 8), machine::kRegisterOne, r.Memory));
  all.push_back(registerReading(std::string(i18n::shown(r.Label_X1.Caption())),
                                &r.Register_X_Decimal, allOf(r.Shape_x), machine::kRegisterOne,
                                r.Label_X1));
  all.push_back(registerReading(std::string(i18n::shown(r.Label_Y1.Caption())),
                                &r.Register_Y_Decimal, allOf(r.shapey), machine::kRegisterOne,
                                r.Label_Y1));
  all.push_back(registerReading(std::string(i18n::shown(r.Label_S1.Caption())),
                                &r.Register_S_Decimal, allOf(r.Shapet), machine::kRegisterOne,
                                r.Label_S1));
  all.push_back(
      {std::string(tr("Negative flag")),
       [&r] { return std::string(r.SHAPET4(7).FillColor() == machine::kRegisterOne ? "1" : "0"); },
       &r.SHAPET4(7)});
  // The window's caption names the address the program outputs through; the register is
  // the output.
  // TRANSLATORS: the output register, read aloud.
  all.push_back(registerReading(std::string(i18n::trc("register", "Output")),
                                &r.Register_Output_Decimal, allOf(r.Shapeo), machine::kRegisterOne,
                                r.Label_Window_Output));
  all.push_back(inputWindowReading(r));
  return all;
}

std::string memoryRowName(int address) { return fill(tr("Address %1"), {std::to_string(address)}); }

std::string memoryRowSaid(const DERAZO_Input& input, int address) {
  const std::string bits =
      bitsOf(input.Shape1.run(8 * address + 1, 8 * address + 8), machine::kMemoryOne);
  return bits + ", " + instructionText(valueOf(bits));
}

int entryLocation(const DERAZO_Input& input) {
  const std::string& text = input.memory_text.Text();
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  const int address = ui::ValInt(text);
  return address <= 31 ? address : -1;
}

std::string machineSummary(const REXEC& rexec, const DERAZO_Input* input) {
  std::string text;
  for (const ui::Reading& r : executionReadings(rexec)) text += r.name + ": " + r.say() + "\n";
  if (!input) return text;
  text += std::string(tr("Memory:")) + "\n";
  const ui::AccessibleParts memory = inputParts(*input);
  for (const ui::Reading& row : memory.table->rows) text += row.name + ": " + row.say() + "\n";
  return text;
}

ui::AccessibleParts executionParts(const REXEC& r) {
  ui::AccessibleParts parts;
  parts.readings = executionReadings(r);
  for (int i = 1; i <= 8; ++i) {
    parts.names.push_back({&r.Input_bit(i), fill(tr("Bit %1"), {std::to_string(i)}),
                           [] { return std::string(tr("INPUT window")); }});
  }
  parts.names.push_back({&r.Text_Input_Decimal, std::string(tr("Decimal value")), {}});
  parts.names.push_back({&r.time_scroll, std::string(tr("Speed")), {}});
  parts.bitCells = bitCells(r);
  parts.quiet = [&r] { return r.Timer1.enabled() && r.Timer1.Interval() < kQuietBelowMs; };
  parts.explanation = [&r] { return lastPhaseInWords(r); };
  return parts;
}

// The memory grid as a table of 32 rows; the row Send to Memory writes next says so.
ui::AccessibleParts inputParts(const DERAZO_Input& input) {
  ui::AccessibleParts parts;
  // The location is the Memory location box's, and said once when it changes: as each bit
  // box's description it was read eight times over, and changed eight objects at a time.
  for (int i = 1; i <= 8; ++i)
    parts.names.push_back({&input.Input_Bit(i), fill(tr("Bit %1"), {std::to_string(i)}), {}});
  parts.names.push_back({&input.Input_Op_Code(0), std::string(tr("Op code")), {}});
  parts.names.push_back({&input.Input_Memory_Address, std::string(tr("Address")), {}});
  parts.names.push_back({&input.memory_text, std::string(tr("Memory location")), {}});
  parts.names.push_back({&input.exec_text, std::string(tr("Start location")), {}});
  ui::ReadingTable table{
      std::string(tr("Memory")), std::string(tr("32 rows, one per address")), {}, [&input] {
        return entryLocation(input);
      }};
  for (int a = 0; a < 32; ++a) {
    table.rows.push_back({memoryRowName(a),
                          [&input, a] {
                            return memoryRowSaid(input, a) +
                                   (entryLocation(input) == a ? ui::currentRowMark() : "");
                          },
                          &input.Shape1(8 * a + 1), &input.Shape1(8 * a + 8)});
  }
  parts.table = std::move(table);
  parts.bitCells = bitCells(input);
  return parts;
}

ui::AccessibleParts welcomeParts(const Initial_Screen& welcome) {
  ui::AccessibleParts parts;
  parts.names.push_back({&welcome.Version, std::string(tr("Version")), {}});
  parts.names.push_back({&welcome.Address, std::string(tr("Address")), {}});
  return parts;
}

std::vector<ui::BitCell> bitCells(const REXEC& r) {
  std::vector<ui::BitCell> cells;
  const auto add = [&cells](Cells::Run run, ui::Color one) {
    for (const auto& s : run) cells.push_back({s.get(), one});
  };
  add(allOf(r.ShapePC), machine::kAddressOne);
  add(allOf(r.Shapear), machine::kAddressOne);
  add(allOf(r.SHAPE_IR), machine::kRegisterOne);
  add(r.Register_Memory.run(1, 8), machine::kRegisterOne);
  add(allOf(r.Shape_x), machine::kRegisterOne);
  add(allOf(r.shapey), machine::kRegisterOne);
  add(allOf(r.Shapet), machine::kRegisterOne);
  add(allOf(r.Shapeo), machine::kRegisterOne);
  return cells;
}

std::vector<ui::BitCell> bitCells(const DERAZO_Input& input) {
  std::vector<ui::BitCell> cells;
  for (const auto& s : input.Shape1.run(1, 256)) cells.push_back({s.get(), machine::kMemoryOne});
  return cells;
}

char bitMark(const ui::BitCell& cell) { return bitMark(cell.shape->FillColor(), cell.one); }

char bitMark(ui::Color fill, ui::Color one) { return machine::bitMark(fill, one); }

}  // namespace volpar::screens
