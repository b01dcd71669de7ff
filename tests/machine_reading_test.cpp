// SPDX-License-Identifier: GPL-3.0-or-later
// The machine in words, as the screen reader and the state window say it, and the bit
// cells "Show bit values" writes in: read from the screens as a program runs.
#include "screens/machine_reading.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class MachineReading : public ScreensFixture {
 protected:
  std::string summary() { return screens::machineSummary(rexec(), &input()); }
};

// ADD 5 of 3 after LOAD 6 of 250: S overflows to 253, then 0 (mod 256) and the flag goes.
// The whole summary at T0, in LOAD's T5, in ADD's T5 and T7: tests/data/reading/*.txt.
TEST_F(MachineReading, TheSummaryFollowsTheRun) {
  pokeFrom(0, {"00100110", "00000101"}), poke(5, 3), poke(6, 250), startAt(0), chooseManual();
  for (const auto& [steps, golden] :
       {std::pair{0, "t0"}, {5, "load-t5"}, {8, "add-t5"}, {2, "add-t7"}}) {
    step(steps);
    expectGolden(std::string("reading/summary-") + golden + ".txt", summary());
  }
}

// What each screen offers a screen reader, as both front ends present it: its boxes named
// after their labels, its drawn parts, and the memory as rows whose entry row follows the
// memory location the student types, each bit 1, 0 or x.
// PC and AR hold five bits, the others eight; the memory word's cell 0 holds none. The bit
// boxes do not each say the location: its own box and the news do (tests/data/reading/parts.txt).
TEST_F(MachineReading, EachScreenOffersItsPartsByName) {
  std::ostringstream seen;
  for (ui::Form* form : std::initializer_list<ui::Form*>{&welcome(), &input(), &rexec()}) {
    const ui::AccessibleParts parts = form->accessibleParts();
    seen << form->name() << ": ";
    for (const ui::ControlName& n : parts.names) seen << n.name << (n.description ? "+; " : "; ");
    seen << parts.readings.size() << " readings, " << (parts.table ? parts.table->rows.size() : 0)
         << " rows, " << parts.bitCells.size() << " bit cells\n";
  }
  const ui::AccessibleParts memory = input().accessibleParts();
  poke(5, "0010x101");  // a black cell reads as x
  for (const char* location : {"5", "6"}) {
    type(input().memory_text, location);
    seen << "location " << location << ", row " << memory.table->current() << ": "
         << memory.table->rows[4].say() << " | " << memory.table->rows[5].name << ": "
         << memory.table->rows[5].say() << "\n";
  }
  seen << "bit cells of address 5: ";
  for (std::size_t i = 40; i < 48; ++i) seen << screens::bitMark(memory.bitCells[i]);
  expectGolden("reading/parts.txt", seen.str() + "\n");
}

}  // namespace
}  // namespace volpar::testing
