// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/grade_report.h"

#include <ostream>
#include <string>
#include <string_view>

#include "exercise/check.h"
#include "runner/text_escapes.h"

namespace volpar::runner {
namespace {

using exercise::Exercise;
using exercise::Expected;
using exercise::expectedText;
using exercise::gotText;
using exercise::ProgramResult;
using exercise::TestResult;
using exercise::TestRun;
using exercise::valueListText;

bool describable(const TestResult& t) { return !t.test->hidden; }

int hiddenCount(const ProgramResult& r, bool passedOnly) {
  int n = 0;
  for (const TestResult& t : r.tests) n += t.test->hidden && (!passedOnly || t.passed());
  return n;
}

// --- text ---------------------------------------------------------------------------

void writeText(const std::vector<ProgramResult>& results, std::ostream& out) {
  for (const ProgramResult& r : results) {
    out << oneLine(r.program->name) << ": " << r.score << '/' << r.maxScore;
    if (!r.program->bytes) {
      out << " (not graded: " << oneLine(r.program->error) << ")\n";
      continue;
    }
    if (int hidden = hiddenCount(r, false)) {
      out << " (" << hidden << " hidden test" << (hidden == 1 ? "" : "s") << ": "
          << hiddenCount(r, true) << " passed)";
    }
    out << '\n';
    for (const TestResult& t : r.tests) {
      if (t.passed() || !describable(t)) continue;
      out << "  " << oneLine(t.test->name) << ": input " << valueListText(t.test->input)
          << "; expected " << expectedText(t.test->expected) << "; got " << gotText(t.got);
      const auto& d = *t.difference;
      if (d.what != "Output" && d.what != "End") {
        out << "; " << d.what << " expected " << d.expected << ", got " << oneLine(d.got);
      }
      out << '\n';
    }
  }
}

// --- json ---------------------------------------------------------------------------

std::string jsonList(const std::vector<int>& values) {
  std::string text;
  for (int v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
  return "[" + text + "]";
}

// The expectations a test writes, with what the run gave for each of them.
void writeJsonState(const Expected& e, const TestRun* got, std::ostream& out) {
  out << '{';
  const char* comma = "";
  if (e.output) {
    out << "\"output\": " << jsonList(got ? got->outputs : *e.output);
    comma = ", ";
  }
  out << comma << "\"end\": \"" << exercise::endText(got ? got->end : e.end) << '"';
  const std::pair<const char*, std::pair<const std::optional<int>*, int>> registers[] = {
      {"pc", {&e.pc, got ? got->pc : 0}}, {"ar", {&e.ar, got ? got->ar : 0}},
      {"ir", {&e.ir, got ? got->ir : 0}}, {"x", {&e.x, got ? got->x : 0}},
      {"y", {&e.y, got ? got->y : 0}},    {"s", {&e.s, got ? got->s : 0}}};
  for (const auto& [name, values] : registers) {
    if (*values.first) out << ", \"" << name << "\": " << (got ? values.second : **values.first);
  }
  bool anyMemory = false;
  for (std::size_t a = 0; a < e.memory.size(); ++a) {
    if (!e.memory[a]) continue;
    out << (anyMemory ? ", " : ", \"memory\": {") << '"' << a
        << "\": " << (got ? got->memory[a] : *e.memory[a]);
    anyMemory = true;
  }
  if (anyMemory) out << '}';
  out << '}';
}

void writeJsonTest(const TestResult& t, std::ostream& out) {
  out << "{\"name\": " << jsonString(t.test->name)
      << ", \"passed\": " << (t.passed() ? "true" : "false")
      << ", \"hidden\": " << (t.test->hidden ? "true" : "false")
      << ", \"weight\": " << t.test->weight;
  if (describable(t)) {
    out << ", \"input\": " << jsonList(t.test->input) << ", \"expected\": ";
    writeJsonState(t.test->expected, nullptr, out);
    out << ", \"got\": ";
    writeJsonState(t.test->expected, &t.got, out);
    if (t.difference) {
      out << ", \"difference\": {\"what\": " << jsonString(t.difference->what)
          << ", \"expected\": " << jsonString(t.difference->expected)
          << ", \"got\": " << jsonString(t.difference->got) << '}';
    }
  }
  out << ", \"end\": \"" << exercise::endText(t.got.end)
      << "\", \"instructions\": " << t.got.instructions << '}';
}

void writeJson(const Exercise& exercise, const std::vector<ProgramResult>& results,
               std::ostream& out) {
  out << "{\"exercise\": " << jsonString(exercise.title) << ", \"programs\": [";
  for (std::size_t i = 0; i < results.size(); ++i) {
    const ProgramResult& r = results[i];
    out << (i ? ",\n  " : "\n  ") << "{\"file\": " << jsonString(r.program->name)
        << ", \"score\": " << r.score << ", \"max_score\": " << r.maxScore
        << ", \"error\": " << (r.program->bytes ? "null" : jsonString(r.program->error))
        << ", \"warnings\": [";
    for (std::size_t w = 0; w < r.program->warnings.size(); ++w)
      out << (w ? ", " : "") << jsonString(r.program->warnings[w]);
    out << "], \"tests\": [";
    for (std::size_t t = 0; t < r.tests.size(); ++t) {
      out << (t ? ",\n    " : "\n    ");
      writeJsonTest(r.tests[t], out);
    }
    out << "]}";
  }
  out << "\n]}\n";
}

// --- tap ----------------------------------------------------------------------------

void writeTap(const Exercise& exercise, const std::vector<ProgramResult>& results,
              std::ostream& out) {
  out << "TAP version 14\n1.." << results.size() * exercise.tests.size() << '\n';
  int n = 0;
  for (const ProgramResult& r : results) {
    for (std::size_t i = 0; i < exercise.tests.size(); ++i) {
      const exercise::Test& test = exercise.tests[i];
      const TestResult* t = r.program->bytes ? &r.tests[i] : nullptr;
      const bool ok = t && t->passed();
      out << (ok ? "ok " : "not ok ") << ++n << " - "
          << tapDescription(r.program->name + ": " + test.name) << '\n';
      if (ok) continue;
      if (!t) {
        out << "  ---\n  message: " << jsonString(oneLine(r.program->error)) << "\n  ...\n";
      } else if (describable(*t)) {
        out << "  ---\n  message: " << jsonString(t->difference->what + " differs")
            << "\n  input: " << jsonString(valueListText(test.input))
            << "\n  expected: " << jsonString(expectedText(test.expected))
            << "\n  got: " << jsonString(gotText(t->got)) << "\n  first_difference: "
            << jsonString(t->difference->what + " expected " + t->difference->expected + ", got " +
                          oneLine(t->difference->got))
            << "\n  ...\n";
      }
    }
  }
}

// --- junit --------------------------------------------------------------------------

void writeJunit(const Exercise& exercise, const std::vector<ProgramResult>& results,
                std::ostream& out) {
  int tests = 0, failures = 0, errors = 0;
  for (const ProgramResult& r : results) {
    tests += static_cast<int>(exercise.tests.size());
    if (!r.program->bytes) errors += static_cast<int>(exercise.tests.size());
    for (const TestResult& t : r.tests) failures += !t.passed();
  }
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\""
      << xmlText(exercise.title) << "\" tests=\"" << tests << "\" failures=\"" << failures
      << "\" errors=\"" << errors << "\">\n";
  for (const ProgramResult& r : results) {
    const std::string file = xmlText(r.program->name);
    int failed = 0;
    for (const TestResult& t : r.tests) failed += !t.passed();
    out << "  <testsuite name=\"" << file << "\" tests=\"" << exercise.tests.size()
        << "\" failures=\"" << failed << "\" errors=\""
        << (r.program->bytes ? 0 : exercise.tests.size()) << "\">\n";
    for (std::size_t i = 0; i < exercise.tests.size(); ++i) {
      out << "    <testcase classname=\"" << file << "\" name=\"" << xmlText(exercise.tests[i].name)
          << '"';
      const TestResult* t = r.program->bytes ? &r.tests[i] : nullptr;
      if (t && t->passed()) {
        out << "/>\n";
        continue;
      }
      out << ">\n      ";
      if (!t) {
        out << "<error message=\"" << xmlText(oneLine(r.program->error)) << "\"/>";
      } else if (!describable(*t)) {
        out << "<failure message=\"a hidden test failed\"/>";
      } else {
        const auto& d = *t->difference;
        out << "<failure message=\""
            << xmlText(d.what + " expected " + d.expected + ", got " + oneLine(d.got)) << "\">"
            << xmlText("input " + valueListText(exercise.tests[i].input) + "; expected " +
                       expectedText(exercise.tests[i].expected) + "; got " + gotText(t->got))
            << "</failure>";
      }
      out << "\n    </testcase>\n";
    }
    out << "  </testsuite>\n";
  }
  out << "</testsuites>\n";
}

}  // namespace

void writeReport(ReportFormat format, const Exercise& exercise,
                 const std::vector<ProgramResult>& results, std::ostream& out) {
  switch (format) {
    case ReportFormat::Text: return writeText(results, out);
    case ReportFormat::Json: return writeJson(exercise, results, out);
    case ReportFormat::Tap: return writeTap(exercise, results, out);
    case ReportFormat::Junit: return writeJunit(exercise, results, out);
  }
}

}  // namespace volpar::runner
