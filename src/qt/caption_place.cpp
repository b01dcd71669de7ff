// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/caption_place.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "frontend/caption_fit.h"
#include "qt/bounded_cache.h"
#include "qt/box_text.h"

namespace volpar::qt {

namespace {

constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

// The text as drawn: "&x" shows x, "&&" shows "&".
QString withoutAccessKeys(const QString& caption) {
  QString shown;
  shown.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

bool inkFits(const QRectF& ink, const QSizeF& box) {
  return ink.width() <= box.width() && ink.height() <= box.height();
}

// The font the caption has always been drawn in if its glyphs fit; otherwise the largest
// (and least narrowed) that makes them fit.
QFont fitInk(const QString& caption, const QFont& font, const QSizeF& box) {
  const QFont usual = fittedFont(font, QRectF(QPointF(), box), caption, kFlags);
  if (inkFits(captionInk(caption, usual, box), box)) return usual;
  const auto sized = [&font](frontend::CaptionFont c) {
    QFont f = font;
    f.setPixelSize(c.pixels);
    f.setStretch(c.stretch);
    return f;
  };
  bool fits = false;
  const frontend::CaptionFont c =
      frontend::fitCaptionFont(font.pixelSize(), [&](frontend::CaptionFont c) {
        fits = inkFits(captionInk(caption, sized(c), box), box);
        return fits;
      });
  return fits ? sized(c) : usual;
}

// How far the glyphs move along one axis to stand as asked, never past the near edge
// and, where they fit, not past the far one.
double shift(double inkStart, double inkLength, double boxLength, bool centred) {
  double d = centred ? (boxLength - inkLength) / 2 - inkStart : 0;
  d = std::min(d, boxLength - (inkStart + inkLength));
  return std::max(d, -inkStart);
}

CaptionPlace place(const QString& caption, const QFont& font, const QSizeF& box,
                   CaptionAlign align) {
  CaptionPlace p;
  p.font = fitInk(caption, font, box);
  const QRectF ink = captionInk(caption, p.font, box);
  const bool centred = align == CaptionAlign::Centred;
  const QPointF by(shift(ink.left(), ink.width(), box.width(), centred),
                   shift(ink.top(), ink.height(), box.height(), centred));
  p.textBox = QRectF(by, box);
  p.ink = ink.translated(by);
  return p;
}

}  // namespace

QRectF captionInk(const QString& caption, const QFont& font, const QSizeF& box) {
  const QString text = withoutAccessKeys(caption);
  if (text.trimmed().isEmpty()) return {};
  const QFontMetricsF fm(font);
  QTextLayout layout(text, font);
  layout.setTextOption(QTextOption(Qt::AlignLeft));
  // Every line, also those past the box's bottom, which would be lost.
  QRectF ink;
  double top = -fm.leading();
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(std::max(0.0, box.width()));
    top = std::ceil(top + fm.leading());
    const QRectF glyphs = fm.tightBoundingRect(text.mid(line.textStart(), line.textLength()));
    if (!glyphs.isEmpty()) ink |= glyphs.translated(line.x(), top + line.ascent());
    top += line.ascent() + line.descent();
  }
  layout.endLayout();
  return ink;
}

// Fitting lays the caption out many times: each place is remembered.
CaptionPlace placeCaption(const QString& caption, const QFont& font, const QRectF& box,
                          CaptionAlign align) {
  static BoundedCache<BoxKey, CaptionPlace, BoxKeyHash> cache;
  CaptionPlace p = cache.get({caption, font, box.size(), static_cast<int>(align)},
                             [&] { return place(caption, font, box.size(), align); });
  p.textBox.translate(box.topLeft());
  p.ink.translate(box.topLeft());
  return p;
}

}  // namespace volpar::qt
