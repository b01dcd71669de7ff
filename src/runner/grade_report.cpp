// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/grade_report.h"

#include <algorithm>
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
using exercise::SimilarGroup;
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
      out << "  " << oneLine(t.test->name) << ": " << oneLine(exercise::failureText(t)) << '\n';
    }
  }
}

// --- json ---------------------------------------------------------------------------

std::string jsonList(const std::vector<int>& values) {
  std::string text;
  for (int v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
  return "[" + text + "]";
}

// The expectations a test writes, with what the run gave for each of them; the run's
// output cut as shortListText cuts it, with its length.
void writeJsonState(const Expected& e, const TestRun* got, std::ostream& out) {
  out << '{';
  const char* comma = "";
  if (e.output && got) {
    const std::vector<int>& all = got->outputs;
    const std::vector<int> shown(
        all.begin(),
        all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), exercise::kShownValues)));
    out << "\"output\": " << jsonList(shown) << ", \"output_count\": " << all.size();
    comma = ", ";
  } else if (e.output) {
    out << "\"output\": " << jsonList(*e.output);
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

// A hidden test says its name, weight and verdict, nothing from which its input or
// output could be worked out; nor does a test of a program that could not be loaded.
void writeJsonTest(const exercise::Test& test, const TestResult* t, std::ostream& out) {
  out << "{\"name\": " << jsonString(test.name)
      << ", \"passed\": " << (t && t->passed() ? "true" : "false")
      << ", \"hidden\": " << (test.hidden ? "true" : "false") << ", \"weight\": " << test.weight;
  if (t && describable(*t)) {
    out << ", \"input\": " << jsonList(test.input) << ", \"expected\": ";
    writeJsonState(test.expected, nullptr, out);
    out << ", \"got\": ";
    writeJsonState(test.expected, &t->got, out);
    if (t->difference) {
      out << ", \"difference\": {\"what\": " << jsonString(t->difference->what)
          << ", \"expected\": " << jsonString(t->difference->expected)
          << ", \"got\": " << jsonString(t->difference->got)
          << "}, \"message\": " << jsonString(exercise::failureText(*t));
    }
    out << ", \"instructions\": " << t->got.instructions;
  }
  out << '}';
}

void writeJsonProgram(const Exercise& exercise, const ProgramResult& r, std::ostream& out) {
  out << "{\"file\": " << jsonString(r.program->name) << ", \"score\": " << r.score
      << ", \"max_score\": " << r.maxScore
      << ", \"error\": " << (r.program->bytes ? "null" : jsonString(r.program->error))
      << ", \"warnings\": [";
  for (std::size_t w = 0; w < r.program->warnings.size(); ++w)
    out << (w ? ", " : "") << jsonString(r.program->warnings[w]);
  out << "], \"tests\": [";
  for (std::size_t i = 0; i < exercise.tests.size(); ++i) {
    out << (i ? ",\n    " : "\n    ");
    writeJsonTest(exercise.tests[i], r.program->bytes ? &r.tests[i] : nullptr, out);
  }
  out << "]}";
}

void writeJson(const Exercise& exercise, const std::vector<ProgramResult>& results,
               const std::vector<SimilarGroup>& similar, std::ostream& out) {
  out << "{\"exercise\": " << jsonString(exercise.title) << ", \"programs\": [";
  for (std::size_t i = 0; i < results.size(); ++i) {
    out << (i ? ",\n  " : "\n  ");
    writeJsonProgram(exercise, results[i], out);
  }
  out << "\n], \"similar\": [";
  for (std::size_t g = 0; g < similar.size(); ++g) {
    out << (g ? ",\n  " : "\n  ") << "{\"identical\": " << (similar[g].identical ? "true" : "false")
        << ", \"files\": [";
    for (std::size_t p = 0; p < similar[g].programs.size(); ++p)
      out << (p ? ", " : "") << jsonString(similar[g].programs[p]->name);
    out << "]}";
  }
  out << "]}\n";
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
            << xmlText(exercise::failureText(*t)) << "</failure>";
      }
      out << "\n    </testcase>\n";
    }
    out << "  </testsuite>\n";
  }
  out << "</testsuites>\n";
}

// --- csv ----------------------------------------------------------------------------

// A field as RFC 4180 quotes it. A spreadsheet takes a cell that starts with = + - or @
// for a formula: such a name gets a leading apostrophe, as the spreadsheet itself writes.
std::string csvField(std::string_view text) {
  std::string value = oneLine(text);
  if (value.size() > 1 && value.find_first_of("=+-@") == 0) value.insert(0, "'");
  std::string out = "\"";
  for (char c : value) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

void writeCsv(const Exercise& exercise, const std::vector<ProgramResult>& results,
              std::ostream& out) {
  out << "file,score,maximum,passed,failed,error\r\n";
  for (const ProgramResult& r : results) {
    int passed = 0;
    for (const TestResult& t : r.tests) passed += t.passed();
    out << csvField(r.program->name) << ',' << r.score << ',' << r.maxScore << ',' << passed << ','
        << exercise.tests.size() - static_cast<std::size_t>(passed) << ','
        << (r.program->bytes ? "" : csvField(r.program->error)) << "\r\n";
  }
}

}  // namespace

void writeReport(ReportFormat format, const Exercise& exercise,
                 const std::vector<ProgramResult>& results,
                 const std::vector<SimilarGroup>& similar, std::ostream& out) {
  switch (format) {
    case ReportFormat::Text: return writeText(results, out);
    case ReportFormat::Csv: return writeCsv(exercise, results, out);
    case ReportFormat::Json: return writeJson(exercise, results, similar, out);
    case ReportFormat::Tap: return writeTap(exercise, results, out);
    case ReportFormat::Junit: return writeJunit(exercise, results, out);
  }
}

}  // namespace volpar::runner
