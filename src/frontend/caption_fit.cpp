// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/caption_fit.h"

namespace volpar::frontend {

int fitCaption(const std::function<bool(int percent)>& fits) {
  for (int percent : kCaptionSteps) {
    if (fits(percent)) return percent;
  }
  return 100;
}

}  // namespace volpar::frontend
