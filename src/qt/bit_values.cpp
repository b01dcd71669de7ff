// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/bit_values.h"

#include <QApplication>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <unordered_map>

#include "frontend/contrast.h"
#include "machine/cell_reading.h"
#include "qt/qt_color.h"
#include "qt/theme.h"

namespace volpar::qt {

namespace {

const char* const kSettingKey = "view/showBitValues";

QSettings settings() { return QSettings(QStringLiteral("VOLPAR"), QStringLiteral("volpar")); }

struct State {
  bool loaded = false;
  bool shown = false;
  std::unordered_map<const ui::Shape*, ui::Color> cells;  // cell -> the colour of a 1
};

State& state() {
  static State s;
  if (!s.loaded) {
    s.loaded = true;
    s.shown = settings().value(kSettingKey, false).toBool();
  }
  return s;
}

frontend::Rgb rgbOf(QColor c) { return {c.red(), c.green(), c.blue()}; }

}  // namespace

bool bitValuesShown() { return state().shown; }

void showBitValues(bool on) {
  if (state().shown == on) return;
  state().shown = on;
  settings().setValue(kSettingKey, on);
  for (QWidget* w : QApplication::allWidgets()) w->update();
}

void addBitCells(const std::vector<ui::BitCell>& cells) {
  for (const ui::BitCell& c : cells) state().cells[c.shape] = c.one;
}

void removeBitCells(const std::vector<ui::BitCell>& cells) {
  for (const ui::BitCell& c : cells) state().cells.erase(c.shape);
}

double contrastRatio(QColor a, QColor b) { return frontend::contrastRatio(rgbOf(a), rgbOf(b)); }

QColor markColor(QColor fill) {
  const frontend::Rgb mark = frontend::markColor(rgbOf(fill));
  return QColor(mark.red, mark.green, mark.blue);
}

void paintBitValue(QPainter& p, const ui::Element& shape, const Look& look, const TwipScale& ts) {
  // High Contrast writes every bit: a cell's state is never its colour alone.
  if (!state().shown && !drawnTheme().outlined) return;
  const auto it = state().cells.find(static_cast<const ui::Shape*>(&shape));
  if (it == state().cells.end()) return;
  const QRectF box = ts.rect(look.rect);
  const double d = std::min(box.width(), box.height());
  const QRectF circle(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
  QFont font = p.font();
  font.setPixelSize(std::max(6, static_cast<int>(d * 0.8)));
  font.setBold(true);
  p.save();
  p.setFont(font);
  p.setPen(markColor(toQColor(look.fill, QApplication::palette(), frontend::Paint::Fill)));
  p.drawText(circle, Qt::AlignCenter, QString(QChar(machine::bitMark(look.fill, it->second))));
  p.restore();
}

}  // namespace volpar::qt
