// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>

namespace volpar::qt {

// A text in a box of a size under a font and flags (or an alignment): what fitting, laying
// out and placing a caption depend on, as the key of a kept result.
struct BoxKey {
  QString text;
  QFont font;
  QSizeF box;
  int flags;
  bool operator==(const BoxKey&) const = default;
};

struct BoxKeyHash {
  std::size_t operator()(const BoxKey& k) const {
    return qHash(k.text) ^ (qHash(k.font) * 31) ^ (std::hash<double>()(k.box.width()) * 131) ^
           (std::hash<double>()(k.box.height()) * 137) ^ static_cast<std::size_t>(k.flags);
  }
};

// The font narrowed, if need be, until the text fits the box under the flags (word
// wrap, say): the free substitute fonts run a little wider than the ones the layout was
// made for. A text that cannot fit keeps the font as it is and is cut at the box.
QFont fittedFont(const QFont& font, const QRectF& box, const QString& text, int flags);

// The same, then made smaller a pixel at a time down to the smallest caption's size, as a
// caption is fitted: for the texts of buttons, option and check boxes and frames, whose
// boxes never grow, in a language whose words run longer.
QFont shrunkFont(const QFont& font, const QRectF& box, const QString& text, int flags);

// Draws the text in the box with the painter's font and pen, exactly as
// p.drawText(box, flags, text) does. A caption is painted far more often than it
// changes: for left and top aligned text, word-wrapped or not, the laid-out lines are
// kept per text, font, box and flags and only drawn again.
void drawBoxText(QPainter& p, const QRectF& box, int flags, const QString& text);

}  // namespace volpar::qt
