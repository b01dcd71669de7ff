// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/box_text.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <cmath>
#include <memory>

#include "frontend/caption_fit.h"
#include "qt/bounded_cache.h"

namespace volpar::qt {

namespace {

template <class Value>
using BoxCache = BoundedCache<BoxKey, Value, BoxKeyHash>;

QFont narrowed(const QFont& font, int stretch) {
  QFont f = font;
  if (stretch != 100) f.setStretch(stretch);
  return f;
}

bool fits(const QFont& font, const QRectF& box, const QString& text, int flags) {
  const QRectF need = QFontMetricsF(font).boundingRect(box, flags, text);
  return need.width() <= box.width() + 0.5 && need.height() <= box.height() + 0.5;
}

QFont fitFont(const QFont& font, const QRectF& box, const QString& text, int flags) {
  return narrowed(font, frontend::fitCaption([&](int stretch) {
                    return fits(narrowed(font, stretch), box, text, flags);
                  }));
}

QFont shrinkFont(const QFont& font, const QRectF& box, const QString& text, int flags) {
  const auto sized = [&font](frontend::CaptionFont c) {
    QFont f = narrowed(font, c.stretch);
    f.setPixelSize(c.pixels);
    return f;
  };
  if (font.pixelSize() <= 0) return fitFont(font, box, text, flags);
  return sized(frontend::fitCaptionFont(
      font.pixelSize(), [&](frontend::CaptionFont c) { return fits(sized(c), box, text, flags); }));
}

constexpr int kLaidOutFlags =
    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

// Text the kept layout draws as drawText would: no access key, line break or tab, which
// drawText treats specially, and no alignment but left and top.
bool isPlain(const QString& text, int flags) {
  if ((flags & ~kLaidOutFlags) != 0) return false;
  for (QChar c : text) {
    if (c == u'&' || c.category() == QChar::Other_Control) return false;
  }
  return true;
}

// The lines as drawText lays them out: the box's width when wrapping, each line on a
// whole pixel below the one before with the font's leading between, none after the one
// that reaches the box's bottom.
std::unique_ptr<QTextLayout> layOut(const QString& text, const QFont& font, const QSizeF& box,
                                    int flags) {
  auto layout = std::make_unique<QTextLayout>(text, font);
  layout->setCacheEnabled(true);
  const bool wrap = flags & Qt::TextWordWrap;
  QTextOption option(Qt::AlignLeft);
  if (!wrap) option.setFlags(QTextOption::IncludeTrailingSpaces);
  layout->setTextOption(option);
  const double lineWidth = wrap ? std::max(0.0, box.width()) : 0x01000000;
  const double leading = QFontMetricsF(font).leading();
  double height = -leading;
  layout->beginLayout();
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLineWidth(lineWidth);
    height = std::ceil(height + leading);
    line.setPosition(QPointF(0, height));
    height += line.ascent() + line.descent();
    if (height >= box.height()) break;
  }
  layout->endLayout();
  return layout;
}

}  // namespace

// Fitting lays the text out up to six times; a caption is painted far more often than it
// changes, so each fit is remembered.
QFont fittedFont(const QFont& font, const QRectF& box, const QString& text, int flags) {
  static BoxCache<QFont> cache;
  return cache.get({text, font, box.size(), flags},
                   [&] { return fitFont(font, box, text, flags); });
}

QFont shrunkFont(const QFont& font, const QRectF& box, const QString& text, int flags) {
  static BoxCache<QFont> cache;
  return cache.get({text, font, box.size(), flags},
                   [&] { return shrinkFont(font, box, text, flags); });
}

void drawBoxText(QPainter& p, const QRectF& box, int flags, const QString& text) {
  if (text.isEmpty()) return;
  if (!isPlain(text, flags)) {
    p.drawText(box, flags, text);
    return;
  }
  static BoxCache<std::unique_ptr<QTextLayout>> cache;
  const QFont& font = p.font();
  const QTextLayout& layout = *cache.get({text, font, box.size(), flags},
                                         [&] { return layOut(text, font, box.size(), flags); });
  p.save();
  p.setClipRect(box, Qt::IntersectClip);
  for (int i = 0; i < layout.lineCount(); ++i) layout.lineAt(i).draw(&p, box.topLeft());
  p.restore();
}

}  // namespace volpar::qt
