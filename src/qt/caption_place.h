// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include "frontend/caption_fit.h"

namespace volpar::qt {

// How a label's caption stands in its box.
enum class CaptionAlign {
  TopLeft,  // as the screens set their texts: from the box's top-left corner
  Centred,  // a box the student sees as a box (a register's number, a heading on its own
            // colour) or a lone sign between cells: the glyphs in its middle
};

// Where a caption is drawn: the font it is set in, the box its lines are laid out in
// (top-left aligned, wrapping at its width) and where its glyphs fall, all in the
// coordinates of the label's own box. The glyphs lie wholly inside the label's box
// whenever any font of at least kSmallestPixels can put them there.
struct CaptionPlace {
  static constexpr int kSmallestPixels = frontend::kSmallestCaptionPixels;
  QFont font;
  QRectF textBox;
  QRectF ink;
};

// The caption's place in a box: the font narrowed, then made smaller, until its glyphs fit
// (the free substitute fonts are taller and wider than the ones the layout was made for);
// then moved inside the box as the alignment asks, never past its edges.
CaptionPlace placeCaption(const QString& caption, const QFont& font, const QRectF& box,
                          CaptionAlign align);

// Where the caption's glyphs fall when its lines are laid out from the top-left corner of
// a box of this size, wrapping at its width: the union of each line's glyph bounds.
QRectF captionInk(const QString& caption, const QFont& font, const QSizeF& box);

}  // namespace volpar::qt
