// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_exercise.h"

#include "exercise/check.h"
#include "exercise/grader.h"
#include "i18n/text.h"
#include "ui/platform.h"

namespace volpar::web {

using emscripten::val;

val WebExercise::open(const std::string& path) {
  exercise::ExerciseRead read = exercise::readExercise(path);
  if (!read.exercise) {
    platform_.MsgBox(read.problem, exercise::kRefusalTitle);
    return val::null();
  }
  exercise_ = std::move(read.exercise);
  val tests = val::array();
  for (const exercise::Test& test : exercise_->tests) {
    if (!test.hidden) tests.call<void>("push", exercise::testLine(test));
  }
  val shown = val::object();
  shown.set("title", exercise_->title);
  shown.set("text", exercise_->text);
  shown.set("tests", tests);
  return shown;
}

void WebExercise::failed(const std::string& name, const std::string& reason) {
  platform_.MsgBox(exercise::refusalMessage(name, reason), exercise::kRefusalTitle);
}

val WebExercise::check() {
  if (!exercise_) return val::null();
  const exercise::Program program = exercise::programInMemory(manual_);
  const exercise::ProgramResult result = exercise::gradeProgram(*exercise_, program);
  val verdicts = val::array();
  for (const exercise::TestResult& tested : result.tests) {
    if (tested.test->hidden) continue;
    val verdict = val::object();
    verdict.set("line", exercise::verdictLine(tested));
    verdict.set("passed", tested.passed());
    verdicts.call<void>("push", verdict);
  }
  val checked = val::object();
  checked.set("verdicts", verdicts);
  checked.set("hidden", exercise::hiddenLine(result));
  return checked;
}

// The panel's words in the language in use, asked again when it changes.
val WebExercise::wording() {
  val words = val::object();
  words.set("title", std::string(i18n::shown(exercise::kWindowTitle)));
  words.set("check", std::string(i18n::shown(exercise::kCheckCaption)));
  words.set("checking", std::string(i18n::shown(exercise::kCheckingCaption)));
  words.set("tip", std::string(i18n::shown(exercise::kCheckTip)));
  words.set("tests", std::string(i18n::shown(exercise::kTestsHeading)));
  words.set("results", std::string(i18n::shown(exercise::kResultsHeading)));
  return words;
}

}  // namespace volpar::web
