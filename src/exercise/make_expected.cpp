// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/make_expected.h"

#include "storage/private_profile.h"

namespace volpar::exercise {
namespace {

// What the teacher should know of one test of the filled exercise, or nothing.
std::optional<std::string> noteOn(const TestResult& result) {
  const std::string& name = result.test->name;
  if (!result.got.fault.empty()) return name + ": the solution's run failed: " + result.got.fault;
  if (result.got.end == End::Limit) {
    return name + ": the solution was still running after " +
           std::to_string(result.got.instructions) + " instructions (End=limit written)";
  }
  if (!result.passed()) {
    const Difference& d = *result.difference;
    return name + ": the solution fails it: " + d.what + " expected " + d.expected + ", got " +
           d.got;
  }
  return std::nullopt;
}

}  // namespace

ExpectedFromSolution expectedFromSolution(std::string_view exerciseText,
                                          const std::string& fileName, const Program& solution) {
  const ExerciseRead read = parseExercise(exerciseText, fileName);
  if (!read.exercise) return {std::nullopt, read.problem, {}};
  if (!solution.bytes) return {std::nullopt, solution.error, {}};
  storage::PrivateProfile profile{std::string(exerciseText)};
  FreshMachines machines;
  for (const Test& test : read.exercise->tests) {
    const TestRun run = runTest(machines, *solution.bytes, test);
    profile.setValues(test.name, {{"Output", run.outputs.empty() ? "" : valueListText(run.outputs)},
                                  {"End", endText(run.end)}});
  }
  ExpectedFromSolution made{profile.takeText(), {}, {}};
  // The filled exercise, read back: the solution must pass what it did not write.
  const ExerciseRead filled = parseExercise(*made.text, fileName);
  if (!filled.exercise) return {std::nullopt, filled.problem, {}};
  for (const TestResult& t : gradeProgram(*filled.exercise, solution, machines).tests) {
    if (auto note = noteOn(t)) made.notes.push_back(*note);
  }
  return made;
}

}  // namespace volpar::exercise
