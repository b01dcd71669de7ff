// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using InstructionEntry = ScreensFixture;

// Each field writes its own bits only, the focus moves on from a bit box (wrapping from the
// last to the first), Send to Memory writes the whole byte and advances the location,
// wrapping after 31, and the byte stays for the next location; cell 0 is never memory
// (tests/data/entry/bits_fields_and_send.txt).
TEST_F(InstructionEntry, BitBoxesAndFieldsKeepInStepAndSendToMemoryWritesTheByte) {
  play("entry/bits_fields_and_send.txt");
}

// Every check of the entry fields of both screens: a refused text is reported while the box
// still shows it, then put back to "0", focused and selected (tests/data/entry/checks.txt).
TEST_F(InstructionEntry, ARefusedTextIsReportedThenPutBackToZeroFocusedAndSelected) {
  play("entry/checks.txt");
}

}  // namespace
}  // namespace volpar::testing
