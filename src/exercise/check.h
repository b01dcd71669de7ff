// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "exercise/grader.h"
#include "i18n/text.h"

namespace volpar {
class REXEC_Manual;
}

namespace volpar::exercise {

// What Check shows, in the windows and on the page alike: English, marked; a front end
// shows each through i18n::tr().

inline constexpr const char* kWindowTitle = i18n::mark("VOLPAR Exercise");
// The title of the box that says why an exercise file was refused.
inline constexpr const char* kRefusalTitle = i18n::mark("VOLPAR -- EXERCISE");
// TRANSLATORS: the button that checks the program against the exercise's tests (a verb).
inline constexpr const char* kCheckCaption = i18n::mark("&Check");
inline constexpr const char* kCheckingCaption = i18n::mark("Checking...");
inline constexpr const char* kCheckTip =
    i18n::mark("Runs the program in memory against every test; memory stays as it is.");
inline constexpr const char* kTestsHeading = i18n::mark("Tests:");
inline constexpr const char* kResultsHeading = i18n::mark("Results:");

// The program now in memory, read without changing anything, as Save would write it.
Program programInMemory(REXEC_Manual& manual);

// "output 12, end halt": what a test expects (the output only when written), and what a
// run gave, in the same words; a long output is cut (shortListText), and an end other than
// halt says what it means for the student: "end limit (still running after 1000
// instructions: does it ever halt?)".
std::string expectedText(const Expected& expected);
std::string gotText(const TestRun& got);

// A failed visible test in full: "input 5,7; expected output 12, end halt; got output 5,
// end halt", with where it first differs when the two lists alone do not show it.
std::string failureText(const TestResult& result);

// A visible test as the exercise states it: "Test 1: input 5,7; expected output 12, end halt".
std::string testLine(const Test& test);
// A visible test's verdict: "Test 1: passed (output 12, end halt)" or "Test 1: failed: got
// output 5, end halt".
std::string verdictLine(const TestResult& result);
// The hidden tests, counted: "2 more tests: 1 passed"; empty when there are none.
std::string hiddenLine(const ProgramResult& result);

// What a student may read of a program's grade, in plain text: the exercise, the score,
// why the program could not be loaded or what loading passed over, each visible test in
// full and the hidden tests counted.
std::string feedbackText(const Exercise& exercise, const ProgramResult& result);

}  // namespace volpar::exercise
