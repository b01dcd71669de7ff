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
  return "output " + valueListText(got.outputs) + ", end " + endText(got.end);
}

Program programInMemory(REXEC_Manual& manual) {
  storage::ByteTexts bytes;
  for (std::int16_t address = 0; address < storage::kProgramBytes; ++address) {
    bytes[static_cast<std::size_t>(address)] = manual.Memory_Byte_To_Text(address);
  }
  return {"the program in memory", bytes, {}, {}};
}

std::string testLine(const Test& test) {
  return test.name + ": input " + valueListText(test.input) + "; expected " +
         expectedText(test.expected);
}

std::string verdictLine(const TestResult& result) {
  const std::string& name = result.test->name;
  if (result.passed()) return name + ": passed (" + gotText(result.got) + ")";
  std::string line = name + ": failed: got " + gotText(result.got);
  const Difference& d = *result.difference;
  if (d.what != "Output" && d.what != "End")
    line += "; " + d.what + " expected " + d.expected + ", got " + d.got;
  return line;
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
