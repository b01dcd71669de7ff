// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <emscripten/val.h>

#include <optional>
#include <string>

#include "exercise/exercise_file.h"

namespace volpar {
class REXEC_Manual;
namespace ui {
class Platform;
}
}  // namespace volpar

namespace volpar::web {

// The exercise the page shows and its Check, through the same library calls and words as
// the windows' exercise window. Check reads memory and grades on machines of its own:
// memory, the screens, a run and the history stay as they are.
class WebExercise {
 public:
  WebExercise(ui::Platform& platform, REXEC_Manual& manual)
      : platform_(platform), manual_(manual) {}

  // Reads an exercise file from the page's file system: {title, text, tests: [line]} with
  // the visible tests' lines, or null once a box has said why it was refused (the exercise
  // open before stays open).
  emscripten::val open(const std::string& path);
  // A chosen file that the browser could not read, refused as an unreadable file is.
  void failed(const std::string& name, const std::string& reason);
  // Grades the program in memory: {verdicts: [{line, passed}], hidden: line}; null with
  // no exercise open.
  emscripten::val check();

  // The panel's words, the window's: {title, check, checking, tip, tests, results}.
  static emscripten::val wording();

 private:
  ui::Platform& platform_;
  REXEC_Manual& manual_;
  std::optional<exercise::Exercise> exercise_;
};

}  // namespace volpar::web
