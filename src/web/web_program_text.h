// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <emscripten/val.h>

#include <string>

namespace volpar::web {

// The problems of a program text, one a line; empty when it reads without any.
std::string programTextProblems(const std::string& text);

// The lines that have a problem, as numbers: the margin marks them whatever the language of
// the problems' sentences.
emscripten::val programTextProblemLines(const std::string& text);

}  // namespace volpar::web
