// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/check.h"

#include "machine/REXEC_Manual.h"

namespace volpar::exercise {
std::string expectedText(const Expected& e) {
  std::string text;
  if (e.output) text = "output " + valueListText(*e.output) + ", ";
  return text + "end " + endText(e.end);
}

std::string gotText(const TestRun& got) {
  std::string text = "output " + shortListText(got.outputs) + ", end " + endText(got.end);
  if (got.end == End::Input) text += " (it waited for more input than the test gives)";
  if (got.end == End::Limit)
    text += " (still running after " + std::to_string(got.instructions) +
            " instructions: does it ever halt?)";
  return text;
}

namespace {

// "; Memory30 expected 0, got 1": what the output and the end do not already show.
std::string differenceNote(const TestResult& result) {
  const Difference& d = *result.difference;
  const bool listsShowIt = d.what.starts_with("Output") && result.got.outputs.size() <= 1 &&
                           result.test->expected.output->size() <= 1;
  if (d.what == "End" || listsShowIt) return {};
  return "; " + d.what + " expected " + d.expected + ", got " + d.got;
}

}  // namespace

std::string failureText(const TestResult& result) {
  const Test& test = *result.test;
  return "input " + valueListText(test.input) + "; expected " + expectedText(test.expected) +
         "; got " + gotText(result.got) + differenceNote(result);
}

Program programInMemory(REXEC_Manual& manual) {
  storage::ByteTexts bytes;
  for (std::int16_t address = 0; address < storage::kProgramBytes; ++address) {
    bytes[static_cast<std::size_t>(address)] = manual.Memory_Byte_To_Text(address);
  }
  return {"the program in memory", bytes, {}, {}, {}};
}

std::string testLine(const Test& test) {
  return test.name + ": input " + valueListText(test.input) + "; expected " +
         expectedText(test.expected);
}

std::string verdictLine(const TestResult& result) {
  const std::string& name = result.test->name;
  if (result.passed()) return name + ": passed (" + gotText(result.got) + ")";
  return name + ": failed: got " + gotText(result.got) + differenceNote(result);
}

std::string hiddenLine(const ProgramResult& result) {
  int hidden = 0, passed = 0;
  for (const TestResult& t : result.tests) {
    if (!t.test->hidden) continue;
    ++hidden;
    passed += t.passed();
  }
  if (hidden == 0) return {};
  return std::to_string(hidden) + (hidden == 1 ? " more test: " : " more tests: ") +
         std::to_string(passed) + " passed";
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
