// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>

namespace volpar::frontend {

// The free substitute fonts run a little wider than the ones the layout was made for: a
// caption that does not fit its box is narrowed in steps, down to 70 % of its width.
inline constexpr std::array<int, 6> kCaptionSteps = {100, 94, 88, 82, 76, 70};

// The first step, in percent, at which fits(percent) says the caption fits its box. A
// caption that fits at none keeps 100 % and is cut at the box.
int fitCaption(const std::function<bool(int percent)>& fits);

}  // namespace volpar::frontend
