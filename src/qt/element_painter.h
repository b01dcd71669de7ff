// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QRegion>
#include <string>

#include "frontend/reading_windows.h"
#include "qt/caption_place.h"
#include "ui/element.h"

namespace volpar::qt {

// Twips to pixels at a window scale: 15 twips are one pixel at scale 1.
struct TwipScale {
  double scale = 1.0;
  double k() const { return scale / frontend::kTwipsPerPixel; }
  QRectF rect(const ui::Rect& r) const {
    return {r.left * k(), r.top * k(), r.width * k(), r.height * k()};
  }
  // Whole pixels for a child widget; neighbours share their edges.
  QRect pixels(const ui::Rect& r) const;
  // The pixels an element of this kind in this box may touch when drawn: a label or a
  // circle stays inside its box, a line's pen may reach past its ends.
  QRect reach(ui::ElementKind kind, const ui::Rect& r) const;
  // The line width that stays visible when the window is enlarged.
  double penWidth() const {
    return scale < 1.5 ? 1.0 : static_cast<double>(static_cast<int>(scale + 0.5));
  }
};

// The elements that are drawn rather than being widgets of their own.
bool isPainted(ui::ElementKind kind);

// Everything that decides the pixels of a drawn element (a label, shape or line), taken from
// the model at one moment. A window draws these looks, never the model itself: a running
// clock changes the model between two paints, and a frame must show one moment of it.
struct Look {
  ui::Rect rect;
  ui::Color fore = 0, back = 0, fill = 0;
  bool visible = false, enabled = false;
  ui::Font font;
  std::string caption;
  CaptionAlign align = CaptionAlign::TopLeft;
  bool operator==(const Look&) const = default;
};
Look lookOf(const ui::Element& element);

void paintShape(QPainter& p, const Look& shape, const TwipScale& ts, const QPalette& pal);
// A line's ends never change; its look gives its colour.
void paintLine(QPainter& p, const ui::Line& line, const Look& look, const TwipScale& ts,
               const QPalette& pal);
// smoothEdges: a background edge that falls between pixels is blended into them, as the
// screens draw a label that follows a circle; elsewhere the edge is rounded to a pixel.
void paintLabel(QPainter& p, const Look& label, const TwipScale& ts, const QPalette& pal,
                bool smoothEdges);
// A frame's background, etched border and caption, in the frame's own coordinates, for
// a rectangle being repainted.
void paintFrame(QPainter& p, const ui::Frame& frame, const QSize& size, const TwipScale& ts,
                const QPalette& pal, const QColor& back, const QRect& area);

}  // namespace volpar::qt
