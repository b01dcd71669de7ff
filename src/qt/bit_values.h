// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <vector>

#include "qt/element_painter.h"
#include "ui/accessible_parts.h"

namespace volpar::qt {

// "Show bit values": a 1 or 0 written inside every bit cell of both screens, so that a
// bit does not depend on telling colours apart. Off unless the user turned it on; the
// choice is kept between runs.
bool bitValuesShown();
void showBitValues(bool on);

// The cells that hold bits, while their screen lives.
void addBitCells(const std::vector<ui::BitCell>& cells);
void removeBitCells(const std::vector<ui::BitCell>& cells);

// Writes the cell's bit, as its look shows it, inside it when the option is on and the
// shape is a bit cell.
void paintBitValue(QPainter& p, const ui::Element& shape, const Look& look, const TwipScale& ts);

// The text colour, black or white, that contrasts more with a fill; either gives at least
// 4.5:1 with any fill.
QColor markColor(QColor fill);
double contrastRatio(QColor a, QColor b);

}  // namespace volpar::qt
