// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows draw: the model's colours, titles and icon, panels that are hidden,
// captions as the toolkit draws them. (The drawing scaled with the window, each caption
// inside its box: layout_test.cpp.)
#include <QFontMetricsF>
#include <QPalette>
#include <tuple>

#include "bridge_fixture.h"
#include "qt/box_text.h"
#include "qt/element_painter.h"
#include "qt/qt_color.h"
#include "qt/qt_font.h"

namespace volpar::qttest {
namespace {

TEST(ColorConversion, ModelColoursAreBlueGreenRed) {
  const QPalette pal = QApplication::palette();
  const std::pair<ui::Color, QColor> cases[] = {{ui::kYellow, QColor(255, 255, 0)},
                                                {ui::kCyan, QColor(0, 255, 255)},
                                                {0x123456, QColor(0x56, 0x34, 0x12)},
                                                {ui::kWindowBackground, pal.color(QPalette::Base)},
                                                {ui::kWindowText, pal.color(QPalette::Text)},
                                                {ui::kButtonFace, pal.color(QPalette::Button)}};
  for (const auto& [model, drawn] : cases) EXPECT_EQ(qt::toQColor(model, pal), drawn) << model;
}

// Fresh screens carry their titles and the program's icon (their colours: themes_test.cpp);
// hidden panels and their contents are not drawn until they open.
TEST_F(BridgeFixture, FreshScreensAndHiddenPanelsAreDrawnInTheirColours) {
  const char* titles[] = {"VOLPAR Educational Systems", "VOLPAR Input Screen",
                          "VOLPAR Execution Screen"};
  for (std::size_t i = 0; i < 3; ++i) {
    const qt::FormWindow& w = window(*screens()[i]);
    EXPECT_EQ(w.windowTitle(), titles[i]);
    const QImage icon = w.windowIcon().pixmap(128).toImage();
    EXPECT_EQ(icon.pixelColor(64, 10), QColor(0x1d, 0x35, 0x57)) << titles[i];
  }
  hideWelcome();
  const std::tuple<ui::Frame*, ui::CommandButton*, QColor> panels[] = {
      {&rexec().OPTIONS_FRAME, &rexec().Command_Options, QColor(224, 224, 224)},
      {&input().Code_frame, &input().Command_Code_Info, QColor(192, 192, 192)}};
  for (const auto& [frame, open, back] : panels) {
    const QPoint inside = window(frame->form()).pixelRect(*frame).bottomLeft() + QPoint(4, -4);
    EXPECT_NE(render(frame->form()).pixelColor(inside), back) << frame->name();
    act([open] { open->click(); });
    EXPECT_EQ(render(frame->form()).pixelColor(inside), back) << frame->name();
  }
}

// Captions are drawn from kept layouts: every caption of every screen, at scales that put
// the boxes off the pixel grid, must come out as the toolkit's own drawText draws it. Every
// caption the screens give one line stands on one line, whole: a large title may be set a
// little narrower to fit, as it is drawn. (Buttons and option buttons, and every caption at
// every size: layout_test.cpp.)
TEST_F(BridgeFixture, CaptionsLookAsTheToolkitDrawsThemAndFitTheirBoxes) {
  auto draw = [](const QRectF& box, const QFont& font, int flags, const QString& text, bool kept) {
    QImage image(box.size().toSize() + QSize(3, 3), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    kept ? qt::drawBoxText(p, box, flags, text) : p.drawText(box, flags, text);
    return image;
  };
  int compared = 0;
  for (const ui::Form* form : screens()) {
    for (double scale : {1.0, 1.37, 2.0}) {
      const qt::TwipScale ts{scale};
      for (const ui::Element* e : form->elements()) {
        const auto* label = dynamic_cast<const ui::Label*>(e);
        const auto* frame = dynamic_cast<const ui::Frame*>(e);
        const QString text = QString::fromStdString(label   ? label->Caption()
                                                    : frame ? frame->Caption()
                                                            : std::string());
        if (text.isEmpty()) continue;
        const QRectF box = ts.rect(e->rect()).translated(-ts.rect(e->rect()).topLeft().toPoint());
        // Labels wrap; a frame's caption stands on one line.
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic |
                          (label ? static_cast<int>(Qt::TextWordWrap) : 0);
        const QFont font = qt::fittedFont(qt::toQFont(e->font(), scale), box, text, flags);
        ++compared;
        EXPECT_EQ(draw(box, font, flags, text, true), draw(box, font, flags, text, false))
            << e->displayName() << " at " << scale;
        const QRect place = window(*form).pixelRect(*e);
        const QFont one = qt::toQFont(e->font(), 1.0);
        if (scale != 1.0 || !label || place.height() >= 2 * QFontMetricsF(one).height()) continue;
        const QFont fitted = qt::fittedFont(one, place, text, Qt::TextShowMnemonic);
        EXPECT_LE(QFontMetricsF(fitted).horizontalAdvance(QString(text).remove('&')), place.width())
            << e->displayName();
      }
    }
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace volpar::qttest
