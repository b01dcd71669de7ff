// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace volpar::web {

// The problems of a program text, one a line; empty when it reads without any.
std::string programTextProblems(const std::string& text);

}  // namespace volpar::web
