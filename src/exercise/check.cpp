// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/check.h"

#include "i18n/text.h"
#include "machine/REXEC_Manual.h"

namespace volpar::exercise {

using i18n::fill;
using i18n::tr;

// TRANSLATORS: in an exercise's results, %2 is how a run ends as the exercise file writes it
// (halt, input or limit), which stays as it is.
std::string expectedText(const Expected& e) {
  if (!e.output) return fill(tr("end %1"), {endText(e.end)});
  return fill(tr("output %1, end %2"), {valueListText(*e.output), endText(e.end)});
}

std::string gotText(const TestRun& got) {
  std::string text = fill(tr("output %1, end %2"), {shortListText(got.outputs), endText(got.end)});
  if (got.end == End::Input) text += tr(" (it waited for more input than the test gives)");
  if (got.end == End::Limit)
    text += fill(tr(" (still running after %1 instructions: does it ever halt?)"),
                 {std::to_string(got.instructions)});
  return text;
}

namespace {

// "; Memory30 expected 0, got 1": what the output and the end do not already show.
std::string differenceNote(const TestResult& result) {
  const Difference& d = *result.difference;
  const bool listsShowIt = d.what.starts_with("Output") && result.got.outputs.size() <= 1 &&
                           result.test->expected.output->size() <= 1;
  if (d.what == "End" || listsShowIt) return {};
  // TRANSLATORS: "Memory30 expected 0, got 1": %1 names what differs (a key of the file).
  return "; " + fill(tr("%1 expected %2, got %3"), {d.what, d.expected, d.got});
}

}  // namespace

std::string failureText(const TestResult& result) {
  const Test& test = *result.test;
  return fill(tr("input %1; expected %2; got %3"),
              {valueListText(test.input), expectedText(test.expected), gotText(result.got)}) +
         differenceNote(result);
}

Program programInMemory(REXEC_Manual& manual) {
  return {std::string(tr("the program in memory")), manual.memoryBytes(), {}, {}, {}};
}

std::string testLine(const Test& test) {
  return fill(tr("%1: input %2; expected %3"),
              {test.name, valueListText(test.input), expectedText(test.expected)});
}

std::string verdictLine(const TestResult& result) {
  const std::string& name = result.test->name;
  if (result.passed()) return fill(tr("%1: passed (%2)"), {name, gotText(result.got)});
  return fill(tr("%1: failed: got %2"), {name, gotText(result.got)}) + differenceNote(result);
}

std::string hiddenLine(const ProgramResult& result) {
  int hidden = 0, passed = 0;
  for (const TestResult& t : result.tests) {
    if (!t.test->hidden) continue;
    ++hidden;
    passed += t.passed();
  }
  if (hidden == 0) return {};
  return fill(i18n::trn("%1 more test: %2 passed", "%1 more tests: %2 passed", hidden),
              {std::to_string(hidden), std::to_string(passed)});
}

}  // namespace volpar::exercise

namespace volpar::exercise {

std::string feedbackText(const Exercise& exercise, const ProgramResult& result) {
  std::string text = exercise.title + "\n" + result.program->name + ": " +
                     std::to_string(result.score) + " of " + std::to_string(result.maxScore) +
                     " points\n";
  if (!result.program->bytes) return text + result.program->error + "\n";
  for (const std::string& warning : result.program->warnings) text += "Warning: " + warning + "\n";
  for (const TestResult& t : result.tests) {
    if (t.test->hidden) continue;
    text += t.passed() ? t.test->name + ": passed: input " + valueListText(t.test->input) + "; " +
                             gotText(t.got)
                       : t.test->name + ": failed: " + failureText(t);
    text += "\n";
  }
  const std::string hidden = hiddenLine(result);
  return hidden.empty() ? text : text + hidden + "\n";
}

}  // namespace volpar::exercise
