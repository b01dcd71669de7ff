// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "i18n/text.h"

namespace volpar::frontend {

// The windows a front end adds beside the screens for reading the machine, each the same
// in the windows and in the page: their texts, keys and pace. The texts are the English
// source, marked: a front end shows them through i18n::tr().

// Twips are the screens' unit: 15 to a pixel at scale 1.
inline constexpr int kTwipsPerPixel = 15;

// The execution history.
inline constexpr std::string_view kHistoryTitle = i18n::mark("VOLPAR Execution History");
inline constexpr std::string_view kHistoryHint = i18n::mark(
    "Click an instruction to go back to its first phase, a phase to just after it. "
    "Ctrl+Z steps back; Ctrl+Home and Ctrl+End go to the first and last line.");
inline constexpr std::string_view kHistoryStepBack = i18n::mark("Step &Back");
// Keys of the history window besides those of any list.
inline constexpr std::string_view kHistoryStepBackKey = "Ctrl+Z";
inline constexpr std::string_view kHistoryFirstLineKey = "Ctrl+Home";
inline constexpr std::string_view kHistoryLastLineKey = "Ctrl+End";
// While the clock runs the history is read at most this often (listing a long run again
// costs more than a frame, and lines scroll by faster than read); at once after a user's
// action.
inline constexpr int kHistoryRefreshMs = 100;

// Changes reach a screen reader at most this often, the newest state winning, so that a
// fast clock does not flood it.
inline constexpr int kAnnounceMs = 250;

// The View actions every screen offers by key, listed in a View menu of its own on a
// screen with menus: the machine state in plain text, and the bit values in the cells.
struct ViewAction {
  std::string_view caption;
  std::string_view key;
};
inline constexpr std::string_view kViewMenu = i18n::mark("&View");
inline constexpr ViewAction kReadMachineState{i18n::mark("&Read machine state"), "F3"};
inline constexpr ViewAction kShowBitValues{i18n::mark("Show &bit values"), "F4"};
inline constexpr std::string_view kMachineStateTitle = i18n::mark("VOLPAR Machine State");

// The program as text, after the two actions above (and the theme) in the View menu.
inline constexpr ViewAction kShowProgramText{i18n::mark("Program &Text"), "F6"};
inline constexpr std::string_view kProgramTextTitle = i18n::mark("VOLPAR Program Text");
inline constexpr std::string_view kSendProgramText = i18n::mark("Send to &Memory");
inline constexpr std::string_view kShowListing = i18n::mark("Show &Listing");
// While the clock runs, memory and the machine are compared with the text at most this
// often: each comparison reads the whole text again.
inline constexpr int kProgramTextRefreshMs = 100;
// How the text stands to memory, and the line of the instruction under way when memory
// holds it (0 for none).
enum class ProgramTextState { Problems, Differs, Same };
inline std::string programTextStatus(ProgramTextState state, int runningLine) {
  switch (state) {
    case ProgramTextState::Problems:
      return std::string(
          i18n::tr("This text has problems (listed below): memory is not changed until they are "
                   "mended."));
    case ProgramTextState::Differs:
      return std::string(
          i18n::tr("Memory differs from this text: it was changed (bit boxes, Open, a STORE of the "
                   "running program) or the text was. Send to Memory writes the text; Show Listing "
                   "shows memory as it is."));
    case ProgramTextState::Same: break;
  }
  if (runningLine <= 0) return std::string(i18n::tr("Memory holds this program."));
  return i18n::fill(i18n::tr("Memory holds this program. Running: line %1."),
                    {std::to_string(runningLine)});
}

// The phase last performed, in words, last in the View menu.
inline constexpr ViewAction kShowPhase{i18n::mark("&Phase Explained"), "F7"};
inline constexpr std::string_view kPhaseTitle = i18n::mark("VOLPAR Phase");
inline constexpr std::string_view kNoPhaseHeading = i18n::mark("No phase performed yet");
inline constexpr std::string_view kNoPhaseSentence =
    i18n::mark("Start a program: each clock phase is explained here.");

}  // namespace volpar::frontend
