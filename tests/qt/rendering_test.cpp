// What the windows draw: colours at the centres of cells computed from the twip layout,
// panels that are hidden, and the drawing scaled with the window.
#include <QPalette>

#include "bridge_fixture.h"
#include "ui/qt/qt_color.h"

namespace volpar::qttest {
namespace {

const QColor kWhite(255, 255, 255), kYellow(255, 255, 0), kRed(255, 0, 0), kGreen(0, 255, 0),
    kCyan(0, 255, 255), kLightGreen(192, 255, 192), kLightYellow(255, 255, 192),
    kPanelGrey(224, 224, 224), kLightGrey(192, 192, 192);

TEST(ColorConversion, ModelColoursAreBlueGreenRed) {
  const QPalette pal = QApplication::palette();
  struct Case {
    ui::Color model;
    QColor drawn;
  } cases[] = {
      {ui::kWhite, kWhite},   {ui::kYellow, kYellow},         {ui::kRed, kRed},
      {ui::kGreen, kGreen},   {ui::kCyan, kCyan},             {ui::kBlack, QColor(0, 0, 0)},
      {0x123456, QColor(0x56, 0x34, 0x12)},                   {ui::kLightGreen, kLightGreen},
      {ui::kWindowBackground, pal.color(QPalette::Base)},     {ui::kWindowText, pal.color(QPalette::Text)},
      {ui::kButtonFace, pal.color(QPalette::Button)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qt::toQColor(c.model, pal), c.drawn) << std::hex << c.model;
  }
}

TEST_F(BridgeFixture, FreshScreensAreDrawnInTheirColoursAtTheirSizes) {
  EXPECT_EQ(window(input()).clientArea()->size(), QSize(711, 546));
  EXPECT_EQ(window(rexec()).clientArea()->size(), QSize(761, 513));
  EXPECT_EQ(window(app.initialScreen()).clientArea()->size(), QSize(756, 464));
  EXPECT_EQ(window(input()).windowTitle(), "VOLPAR Input Screen");
  EXPECT_EQ(window(rexec()).windowTitle(), "VOLPAR Execution Screen");
  EXPECT_EQ(window(app.initialScreen()).windowTitle(), "VOLPAR Educational Systems");

  const QImage in = render(input());
  EXPECT_EQ(in.pixelColor(5, 5), kLightGreen);
  for (int cell : {1, 65, 128, 256}) EXPECT_EQ(colorAt(in, input().Shape1(cell)), kWhite) << cell;
  EXPECT_EQ(colorAt(in, input().Label_MEMORY).green(), 255);

  const QImage ex = render(rexec());
  EXPECT_EQ(ex.pixelColor(5, 5), kLightYellow);
  EXPECT_EQ(colorAt(ex, rexec().Shape_Clock(0)), kWhite);
  EXPECT_EQ(colorAt(ex, rexec().SHAPE_IR(1)), kWhite);
}

TEST_F(BridgeFixture, SentByteLightsItsMemoryCellsYellow) {
  hideWelcome();
  typeByte("10100101");
  act([this] { input().Command_Send_to_Memory.click(); });
  const QImage in = render(input());
  const std::string bits = "10100101";
  for (int b = 1; b <= 8; ++b) {
    EXPECT_EQ(colorAt(in, input().Shape1(b)), bits[b - 1] == '1' ? kYellow : kWhite) << "bit " << b;
  }
  EXPECT_EQ(colorAt(in, input().Shape1(9)), kWhite);
}

TEST_F(BridgeFixture, FetchLightsInstructionRegisterDecoderAndClock) {
  hideWelcome();
  typeByte("00100101");  // LOAD 5
  act([this] { input().Command_Send_to_Memory.click(); });
  startManualAtZero();
  QImage ex = render(rexec());
  EXPECT_EQ(colorAt(ex, rexec().Shape_Clock(0)), kCyan);
  act([this] { rexec().Command_Begin_Step.click(); });  // T1
  act([this] { rexec().Command_Begin_Step.click(); });  // T2
  ex = render(rexec());
  const std::string ir = "00100101";
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(colorAt(ex, rexec().SHAPE_IR(i)), ir[i - 1] == '1' ? kRed : kWhite) << "IR " << i;
  }
  EXPECT_EQ(colorAt(ex, rexec().SHAPEID(2)), kGreen);
  EXPECT_EQ(colorAt(ex, rexec().SHAPEID(1)), kWhite);
  EXPECT_EQ(colorAt(ex, rexec().Shape_Clock(2)), kCyan);
  EXPECT_EQ(colorAt(ex, rexec().Shape_Clock(1)), kWhite);
}

TEST_F(BridgeFixture, HiddenPanelsAndTheirContentsAreNotDrawn) {
  hideWelcome();
  struct Panel {
    ui::Form& form;
    ui::Frame& frame;
    QColor back;
    std::function<void()> open;
  };
  Panel panels[] = {
      {rexec(), rexec().OPTIONS_FRAME, kPanelGrey, [this] { rexec().Command_Options.click(); }},
      {input(), input().Code_frame, kLightGrey, [this] { input().Command_Code_Info.click(); }},
  };
  for (Panel& p : panels) {
    const QRect box = window(p.form).pixelRect(p.frame);
    const QPoint inside = box.bottomLeft() + QPoint(4, -4);
    EXPECT_NE(render(p.form).pixelColor(inside), p.back) << p.frame.name();
    act(p.open);
    EXPECT_EQ(render(p.form).pixelColor(inside), p.back) << p.frame.name();
  }
  // Inside the open options panel the option buttons have their white background.
  EXPECT_EQ(render(rexec()).pixelColor(window(rexec()).pixelRect(rexec().manual_radio).topRight() +
                                       QPoint(-3, 3)),
            kWhite);
}

TEST_F(BridgeFixture, DrawingScalesWithTheWindowAndShrinksBack) {
  hideWelcome();
  typeByte("10000000");
  act([this] { input().Command_Send_to_Memory.click(); });
  qt::FormWindow& w = window(input());
  const QSize base = w.clientArea()->size();
  for (double factor : {2.0, 1.5, 1.0}) {
    w.resize(w.size() + (base * factor - w.clientArea()->size()));
    settle();
    ASSERT_NEAR(w.scale(), factor, 0.01);
    const QImage in = render(input());
    EXPECT_EQ(in.size(), base * factor);
    EXPECT_EQ(colorAt(in, input().Shape1(1)), kYellow) << factor;
    EXPECT_EQ(colorAt(in, input().Shape1(2)), kWhite) << factor;
    // Controls follow the same scale.
    EXPECT_EQ(widget(input().Command_Send_to_Memory)->geometry(),
              w.pixelRect(input().Command_Send_to_Memory));
    EXPECT_NEAR(widget(input().Command_Send_to_Memory)->width(), 2055 / 15.0 * factor, 1.0);
  }
}

}  // namespace
}  // namespace volpar::qttest
