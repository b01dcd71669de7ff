// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/caption_fit.h"

#include <cctype>

#include "ui/form.h"

namespace volpar::frontend {

int fitCaption(const std::function<bool(int percent)>& fits) {
  for (int percent : kCaptionSteps) {
    if (fits(percent)) return percent;
  }
  return 100;
}

CaptionFont fitCaptionFont(int pixels, const std::function<bool(CaptionFont)>& fits) {
  for (int size = pixels; size >= kSmallestCaptionPixels; --size) {
    for (int stretch : kCaptionSteps) {
      if (fits({size, stretch})) return {size, stretch};
    }
  }
  return {pixels, 100};
}

namespace {

// The colour a label lies on: its frame's, or the form's.
ui::Color behind(const ui::Element& e) {
  for (const ui::Frame* f = e.container(); f; f = f->container()) {
    if (f->backColor() != ui::kInherit) return f->backColor();
  }
  return e.form().BackColor();
}

}  // namespace

bool captionCentred(const ui::Label& label) {
  const std::string& caption = label.Caption();
  const bool loneSign =
      caption.size() == 1 && std::isalnum(static_cast<unsigned char>(caption[0])) == 0;
  return loneSign || (label.backColor() != ui::kInherit && label.backColor() != behind(label));
}

}  // namespace volpar::frontend
