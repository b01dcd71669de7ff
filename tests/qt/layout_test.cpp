// SPDX-License-Identifier: GPL-3.0-or-later
// The screens at every size a projector may give them: each element drawn wholly inside
// the window, a control in its scaled font, each caption's glyphs inside its box, and
// elements the layout keeps apart drawn apart; numbers and signs in the middle; menus,
// history and help grown with them.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <sstream>

#include "bridge_fixture.h"
#include "qt/caption_place.h"
#include "qt/element_painter.h"
#include "qt/help_viewer.h"
#include "qt/qt_color.h"
#include "qt/qt_font.h"

namespace volpar::qttest {
namespace {

// What one element puts on the screen, in the client area's pixels.
struct Drawn {
  const ui::Element* element = nullptr;
  QRectF box;   // its place in the layout
  QRectF mark;  // what it paints there: a caption's glyphs, a circle; empty for a line
  bool control = false;
  std::vector<QRectF> places;  // its box and those of the frames that hold it
};

std::string describe(const QRectF& r) {
  std::ostringstream s;
  s << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
  return s.str();
}

bool overlap(const QRectF& a, const QRectF& b) {
  return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() &&
         b.top() < a.bottom();
}

class LayoutTest : public BridgeFixture {
 protected:
  Drawn drawnElement(qt::FormWindow& w, const ui::Element& e) {
    const qt::TwipScale ts{w.scale()};
    const QPoint origin = w.pixelRect(e).topLeft() - ts.pixels(e.rect()).topLeft();
    const QRectF box = ts.rect(e.rect()).translated(origin);
    Drawn d{&e, box, box, false, {}};
    if (e.kind() == ui::ElementKind::Label) {
      const auto& label = static_cast<const ui::Label&>(e);
      d.mark = qt::placeCaption(QString::fromStdString(label.Caption()),
                                qt::toQFont(label.font(), ts.scale), box, qt::lookOf(label).align)
                   .ink;
    } else if (e.kind() == ui::ElementKind::Shape) {
      const double side = std::min(box.width(), box.height());
      d.mark = QRectF(box.center() - QPointF(side, side) / 2, QSizeF(side, side));
    } else if (e.kind() == ui::ElementKind::Line) {
      const auto& line = static_cast<const ui::Line&>(e);
      const double k = ts.k();
      d.box = QRectF(QPointF(line.x1() * k, line.y1() * k), QPointF(line.x2() * k, line.y2() * k))
                  .normalized()
                  .translated(origin);
      d.mark = QRectF();
    } else if (QWidget* control = widget(e)) {
      d.box = d.mark = QRectF(control->mapTo(w.clientArea(), QPoint(0, 0)), control->size());
      d.control = true;
      if (e.kind() != ui::ElementKind::Frame) {
        EXPECT_EQ(control->font(), qt::toQFont(e.font(), w.scale())) << e.displayName();
      }
    }
    d.places.push_back(d.box);
    for (const ui::Frame* f = e.container(); f; f = f->container())
      d.places.push_back(w.pixelRect(*f));
    return d;
  }
  std::vector<Drawn> drawnElements(const ui::Form& form) {
    std::vector<Drawn> drawn;
    for (const ui::Element* e : form.elements()) {
      const ui::ElementKind k = e->kind();
      if (e->shownOnScreen() && k != ui::ElementKind::Timer && k != ui::ElementKind::Menu &&
          e->rect().width)
        drawn.push_back(drawnElement(window(form), *e));
    }
    return drawn;
  }

  // Every check at the window's present size; the failures name the element and the size.
  void expectFits(const ui::Form& form) {
    qt::FormWindow& w = window(form);
    const QRectF client(QPointF(0, 0), w.clientArea()->size());
    const std::string at = " at " + describe(client);
    const std::vector<Drawn> drawn = drawnElements(form);
    // Boxes that share no more than a pixel of the layout's own (15 twips) are apart.
    const double half = w.scale() / 2;
    auto placedOver = [half](const Drawn& a, const Drawn& b) {
      for (const QRectF& p : a.places) {
        for (const QRectF& q : b.places) {
          if (overlap(p.adjusted(half, half, -half, -half), q.adjusted(half, half, -half, -half)))
            return true;
        }
      }
      return false;
    };
    for (const Drawn& d : drawn) {
      const std::string why = d.element->displayName();
      EXPECT_TRUE(client.contains(d.box.adjusted(0.01, 0.01, -0.01, -0.01)))
          << why << " lies outside the window: " << describe(d.box) << at;
      EXPECT_TRUE(d.mark.isEmpty() || d.box.adjusted(-0.01, -0.01, 0.01, 0.01).contains(d.mark))
          << why << " is cut: glyphs " << describe(d.mark) << " in " << describe(d.box) << at;
    }
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      for (std::size_t j = i + 1; j < drawn.size(); ++j) {
        const Drawn& a = drawn[i];
        const Drawn& b = drawn[j];
        // Two controls are their boxes: the layout alone places them.
        if (a.mark.isEmpty() || b.mark.isEmpty() || (a.control && b.control) || placedOver(a, b))
          continue;
        EXPECT_FALSE(overlap(a.mark.toAlignedRect().adjusted(-1, -1, 1, 1), b.mark.toAlignedRect()))
            << a.element->displayName() << " " << describe(a.mark) << " touches "
            << b.element->displayName() << " " << describe(b.mark) << at;
      }
    }
    // A frame's caption stands on one line inside the frame.
    for (const ui::Element* e : form.elements()) {
      const auto* frame = dynamic_cast<const ui::Frame*>(e);
      if (!frame || !frame->shownOnScreen()) continue;
      const QFontMetricsF fm(qt::toQFont(frame->font(), w.scale()));
      EXPECT_LE(6 * w.scale() + 2 + fm.horizontalAdvance(QString::fromStdString(frame->Caption())),
                w.pixelRect(*frame).width())
          << frame->displayName() << at;
    }
  }

  // With no panel open over it, a label that has a colour of its own is drawn where its glyphs
  // are measured to fall: around them (a pixel left for smoothing) it shows only its colour.
  void expectDrawnWhereMeasured(const ui::Form& form) {
    const QImage image = render(form);
    int checked = 0;
    for (const Drawn& d : drawnElements(form)) {
      if (d.element->kind() != ui::ElementKind::Label || d.mark.isEmpty() ||
          d.element->backColor() == ui::kInherit)
        continue;
      const QColor back = qt::toQColor(d.element->backColor(), window(form).palette());
      const QRect glyphs = d.mark.toAlignedRect().adjusted(-1, -1, 1, 1);
      const QRect inside = d.box.toAlignedRect().adjusted(1, 1, -1, -1);
      int stray = 0;
      for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
          stray += !glyphs.contains(x, y) && image.pixelColor(x, y) != back;
      }
      ++checked;
      EXPECT_EQ(stray, 0) << d.element->displayName() << " is drawn outside " << describe(d.mark);
    }
    EXPECT_GT(checked, 0);
  }

  // The window at its own size, larger up to two and a half times, and in the shapes a
  // window manager may give it: wider or taller than the layout.
  void expectFitsAtEverySize(const ui::Form& form) {
    qt::FormWindow& w = window(form);
    const QSize base = w.baseSize();
    const std::pair<double, double> sizes[] = {{1.0, 1.0}, {1.25, 1.25}, {1.5, 1.5}, {1.75, 1.75},
                                               {2.0, 2.0}, {2.5, 2.5},   {2.5, 1.0}, {1.0, 2.5},
                                               {2.5, 1.6}, {1.3, 2.5}};
    for (const auto& [wide, high] : sizes) {
      sizeClient(w, QSize(qRound(base.width() * wide), qRound(base.height() * high)));
      expectFits(form);
    }
  }
};

// The input screen, then with the start panel open; the execution screen with numbers in
// every register, as after a LOAD of 255 and its OUTPUT, then with the options open. At 1x
// and on a projector a register's number stands in the middle of its white box, and the ALU's
// "+" and "=" midway between the rows of cells they join.
TEST_F(LayoutTest, TheScreensFitAtEverySize) {
  hideWelcome();
  expectFitsAtEverySize(input());
  expectDrawnWhereMeasured(input());
  act([this] { input().Command_Execute_Program.click(); });
  expectFitsAtEverySize(input());
  poke({{0, "00100101"}, {1, "10000000"}, {5, "11111111"}});
  startRun();
  act([this] { rexec().manual_radio.setValue(true); });
  step(14);
  EXPECT_EQ(rexec().Register_Output_Decimal.Caption(), "255");
  expectFitsAtEverySize(rexec());
  expectDrawnWhereMeasured(rexec());
  REXEC& r = rexec();
  qt::FormWindow& w = window(r);
  for (double factor : {1.0, 2.5}) {
    sizeClient(w, w.baseSize() * factor);
    const auto drawn = [&](const ui::Element& e) { return drawnElement(w, e); };
    for (const ui::Label* number : {&r.Register_PC_Decimal, &r.Register_Address_Decimal,
                                    &r.IR_Address_Decimal, &r.Register_S_Decimal}) {
      const Drawn d = drawn(*number);
      EXPECT_NEAR(d.mark.top() - d.box.top(), d.box.bottom() - d.mark.bottom(), 1.0)
          << number->displayName() << " \"" << number->Caption() << "\" at " << factor;
    }
    const QRectF plus = drawn(r.Label_Plus_Sign).mark, equal = drawn(r.Label_Equal_Sign).mark;
    const QRectF x = drawn(r.Shape_x(4)).mark, y = drawn(r.shapey(4)).mark,
                 s = drawn(r.Shapet(4)).mark;
    EXPECT_NEAR(plus.top() - x.bottom(), y.top() - plus.bottom(), 1.5 * factor) << '+' << factor;
    EXPECT_NEAR(equal.top() - y.bottom(), s.top() - equal.bottom(), 1.5 * factor) << '=' << factor;
  }
  act([this] { rexec().Command_Options.click(); });
  expectFitsAtEverySize(rexec());
}

double sizeOf(const QFont& font) {
  return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize();
}

// On a projector the menu bar and its menus, the history and the help grow with the
// screen they belong to, also when opened there, and shrink back with it; the drawing
// keeps its room.
TEST_F(LayoutTest, MenusHistoryAndHelpGrowWithTheScreens) {
  hideWelcome();
  qt::FormWindow& w = window(input());
  const QSize base = w.baseSize();
  sizeClient(w, base * 2.5);
  QMenuBar* bar = w.menuBar();
  QMenu* fileMenu = bar->findChild<QMenu*>();
  ASSERT_NE(fileMenu, nullptr);
  act([this] { platform.showHelp(VOLPAR_HELP_FILE, 1); });
  ASSERT_NE(platform.helpViewer(), nullptr);
  qt::HistoryWindow& history = frontEnd.showHistory();  // F2, outside any handler
  QWidget* help = platform.helpViewer()->browser();
  const std::pair<QWidget*, double> texts[] = {
      {bar, sizeOf(QApplication::font(bar))},
      {fileMenu, sizeOf(QApplication::font(fileMenu))},
      {history.list(), sizeOf(QFontDatabase::systemFont(QFontDatabase::FixedFont))},
      {help, sizeOf(QApplication::font(help))}};
  for (double factor : {2.5, 1.6, 1.0}) {
    sizeClient(w, base * factor);
    EXPECT_NEAR(w.scale(), factor, 0.01);
    EXPECT_NEAR(w.textScale(), factor, 0.1);
    for (const auto& [text, normal] : texts) {
      EXPECT_NEAR(sizeOf(text->font()), normal * w.textScale(), 0.05 * normal)
          << text->metaObject()->className() << " at " << factor;
    }
    EXPECT_LE(bar->sizeHint().width(), w.width()) << factor;
  }
  platform.helpViewer()->close();
}

}  // namespace
}  // namespace volpar::qttest
