// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frontend/system_colors.h"

namespace volpar::frontend {

// The contrast ratio of two colours as the web's accessibility guidelines define it, from
// 1 (the same) to 21 (black on white).
double contrastRatio(Rgb a, Rgb b);

// The colour of a mark written on a fill ("Show bit values"): black or white, whichever
// contrasts more; either gives at least 4.5:1 with any fill.
Rgb markColor(Rgb fill);

}  // namespace volpar::frontend
