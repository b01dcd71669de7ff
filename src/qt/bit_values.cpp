// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/bit_values.h"

#include <QApplication>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "qt/qt_color.h"

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

double luminance(QColor c) {
  const auto channel = [](double v) {
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

bool bitValuesShown() { return state().shown; }

void showBitValues(bool on) {
  if (state().shown == on) return;
  state().shown = on;
  settings().setValue(kSettingKey, on);
  for (QWidget* w : QApplication::allWidgets()) w->update();
}

void addBitCells(const std::vector<history::BitCell>& cells) {
  for (const history::BitCell& c : cells) state().cells[c.shape] = c.one;
}

void removeBitCells(const std::vector<history::BitCell>& cells) {
  for (const history::BitCell& c : cells) state().cells.erase(c.shape);
}

double contrastRatio(QColor a, QColor b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor markColor(QColor fill) {
  return contrastRatio(fill, Qt::black) >= contrastRatio(fill, Qt::white) ? Qt::black : Qt::white;
}

void paintBitValue(QPainter& p, const ui::Element& shape, const Look& look, const TwipScale& ts) {
  if (!state().shown) return;
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
  p.setPen(markColor(toQColor(look.fill, QApplication::palette())));
  p.drawText(circle, Qt::AlignCenter, QString(QChar(history::bitMark(look.fill, it->second))));
  p.restore();
}

}  // namespace volpar::qt
