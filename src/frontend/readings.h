// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "assembly/program_text.h"
#include "frontend/reading_windows.h"
#include "storage/program_file_text.h"

namespace volpar {
class Application;
}

namespace volpar::frontend {

// What the windows beside the screens read of the running program, alike in the windows and
// the page: each front end only shows it. Reading makes no screen.

// The memory's bytes as Save writes them; none before the input screen exists.
std::optional<storage::ByteTexts> memoryBytes(Application& app);

// The phase the clock last performed, explained in the language in use: "T3 of LOAD", the
// transfer with the value that moved, and what the phase does. None while no clock cell is
// lit (no run yet, or no execution screen).
struct PhaseReading {
  std::string heading;
  std::string transfer;
  std::string sentence;
};
std::optional<PhaseReading> readPhase(Application& app);

// How a program text stands to memory, the line of the instruction under way while the
// execution screen shows the program the text holds (0 for none), and what may be done:
// send the text (it differs, has no problem, and the input screen is shown, as for File >
// Open), or list memory (it differs from the text).
struct ProgramTextLink {
  ProgramTextState state = ProgramTextState::Problems;
  int runningLine = 0;
  bool sendable = false;
  bool listable = false;
};
ProgramTextLink linkProgramText(Application& app, const assembly::Assembly& text);

// Puts the text's bytes in memory as a program typed in, when the link says it may: over
// `sent` (the bytes this text sent last, still in memory) as they stand, over any other
// program after File > Open's question about an unsaved one. Run inside the front end's
// event.
void sendProgram(Application& app, const assembly::Assembly& text,
                 const std::optional<storage::ByteTexts>& sent);

}  // namespace volpar::frontend
