// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/contrast.h"

#include <algorithm>
#include <cmath>

namespace volpar::frontend {

namespace {

double luminance(Rgb c) {
  const auto channel = [](int v8) {
    const double v = v8 / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.red) + 0.7152 * channel(c.green) + 0.0722 * channel(c.blue);
}

constexpr Rgb kBlackRgb{0, 0, 0};
constexpr Rgb kWhiteRgb{255, 255, 255};

}  // namespace

double contrastRatio(Rgb a, Rgb b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb markColor(Rgb fill) {
  return contrastRatio(fill, kBlackRgb) >= contrastRatio(fill, kWhiteRgb) ? kBlackRgb : kWhiteRgb;
}

}  // namespace volpar::frontend
