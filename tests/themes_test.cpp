// SPDX-License-Identifier: GPL-3.0-or-later
// The themes' table, checked by computation rather than by eye: Light is the screens' own
// colours, every text is legible on what it stands on, and the colour-blind-safe variants
// keep the machine's colours apart for protanopia, deuteranopia and tritanopia.
#include "frontend/themes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "frontend/contrast.h"

using namespace volpar;
using namespace volpar::frontend;

namespace {

constexpr Slot kMachine[] = {Slot::Zero,    Slot::MemoryOne, Slot::RegisterOne,
                             Slot::Decoder, Slot::Clock,     Slot::Unknown};

// ---- simulated colour blindness (Machado, Oliveira and Fernandes 2009, severity 1.0) ----

// Row by row, applied to linear light.
using Matrix = std::array<double, 9>;
constexpr std::pair<const char*, Matrix> kBlindness[] = {
    {"protanopia",
     {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998}},
    {"deuteranopia",
     {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881}},
    {"tritanopia",
     {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367,
      0.303900}}};

struct Lab {
  double l, a, b;
};

double linear(int v8) {
  const double v = v8 / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// sRGB as seen through the matrix (applied to linear light), in CIELAB under D65.
Lab seen(Rgb c, const Matrix& m) {
  const double in[3] = {linear(c.red), linear(c.green), linear(c.blue)};
  double rgb[3];
  for (int i = 0; i < 3; ++i)
    rgb[i] = std::clamp(m[3 * i] * in[0] + m[3 * i + 1] * in[1] + m[3 * i + 2] * in[2], 0.0, 1.0);
  const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
  const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
  const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
  const auto f = [](double t) {
    return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
  };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double degrees(double r) { return r * 180 / std::numbers::pi; }
double radians(double d) { return d * std::numbers::pi / 180; }

// The CIEDE2000 colour difference (Sharma, Wu and Dalal's formulation).
double deltaE2000(Lab p, Lab q) {
  const double cBar = (std::hypot(p.a, p.b) + std::hypot(q.a, q.b)) / 2;
  const double c7 = std::pow(cBar, 7);
  const double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
  const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
  const double c1 = std::hypot(a1, p.b), c2 = std::hypot(a2, q.b);
  const auto hue = [](double b, double a) {
    return a == 0 && b == 0 ? 0.0 : std::fmod(degrees(std::atan2(b, a)) + 360, 360);
  };
  const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
  double dh = c1 * c2 == 0 ? 0 : h2 - h1;
  if (dh > 180) dh -= 360;
  if (dh < -180) dh += 360;
  const double dH = 2 * std::sqrt(c1 * c2) * std::sin(radians(dh / 2));
  const double lBar = (p.l + q.l) / 2, cpBar = (c1 + c2) / 2;
  double hBar = h1 + h2;
  if (c1 * c2 != 0)
    hBar = std::abs(h1 - h2) <= 180 ? hBar / 2 : (hBar + (hBar < 360 ? 360 : -360)) / 2;
  const double t = 1 - 0.17 * std::cos(radians(hBar - 30)) + 0.24 * std::cos(radians(2 * hBar)) +
                   0.32 * std::cos(radians(3 * hBar + 6)) - 0.20 * std::cos(radians(4 * hBar - 63));
  const double cp7 = std::pow(cpBar, 7);
  const double rc = 2 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7)));
  const double rt = -std::sin(radians(60 * std::exp(-std::pow((hBar - 275) / 25, 2)))) * rc;
  const double sl = 1 + 0.015 * std::pow(lBar - 50, 2) / std::sqrt(20 + std::pow(lBar - 50, 2));
  const double sc = 1 + 0.045 * cpBar, sh = 1 + 0.015 * cpBar * t;
  const double dl = (q.l - p.l) / sl, dc = (c2 - c1) / sc, dhs = dH / sh;
  return std::sqrt(dl * dl + dc * dc + dhs * dhs + rt * dc * dhs);
}

// The colours one kind of cell can show, which a student must tell apart.
const std::vector<std::pair<const char*, std::vector<Slot>>> kCellKinds = {
    {"memory, PC, AR", {Slot::Zero, Slot::MemoryOne, Slot::Unknown}},
    {"IR, S, X, Y, Output", {Slot::Zero, Slot::RegisterOne, Slot::Unknown}},
    {"decoder", {Slot::Zero, Slot::Decoder}},
    {"clock, lamps, phase cells", {Slot::Zero, Slot::Clock, Slot::RegisterOne}}};

// The smallest difference between two colours of one kind of cell, over the three
// simulations; `where` names it.
double closestPair(const Theme& t, std::string& where) {
  double least = 1e9;
  for (const auto& [blindness, matrix] : kBlindness)
    for (const auto& [kind, slots] : kCellKinds)
      for (std::size_t i = 0; i < slots.size(); ++i)
        for (std::size_t j = i + 1; j < slots.size(); ++j) {
          const double d = deltaE2000(seen(t[slots[i]], matrix), seen(t[slots[j]], matrix));
          if (d < least) {
            least = d;
            where = std::string(blindness) + ", " + kind + ": " + slotName(slots[i]) + " and " +
                    slotName(slots[j]);
          }
        }
  return least;
}

}  // namespace

// Light draws each model colour, and each system colour as the page has always drawn it, as it is.
TEST(Themes, LightDrawsEveryModelColourAsItIs) {
  std::vector<ui::Color> colours = {ui::kWhite,       ui::kYellow,        ui::kRed,
                                    ui::kGreen,       ui::kCyan,          ui::kBlack,
                                    ui::kLightYellow, ui::kLightGreen,    ui::kLightGrey,
                                    ui::kPanelGrey,   ui::Color{0x123456}};
  for (ui::Color c = 0x80000000; c <= 0x80000018; ++c) colours.push_back(c);
  for (ui::Color c : colours)
    for (Paint paint : {Paint::Fill, Paint::Back, Paint::Fore}) {
      const Rgb d = drawnColor(theme(ThemeName::Light, false), c, paint);
      const auto asModel = static_cast<ui::Color>(d.red | d.green << 8 | d.blue << 16);
      EXPECT_EQ(cssColor(asModel, ""), cssColor(c, "")) << std::hex << c;
    }
}

// Each text, digit and mark drawn on what it stands on: 4.5:1 at least, 7:1 in High
// Contrast. A disabled control's text is exempt in Light, the desktop's own grey.
TEST(Themes, EveryTextIsLegibleOnWhatItStandsOn) {
  for (auto [name, safe] : {std::pair{ThemeName::Light, false},
                            {ThemeName::Light, true},
                            {ThemeName::Dark, false},
                            {ThemeName::Dark, true},
                            {ThemeName::HighContrast, false}}) {
    const Theme& t = theme(name, safe);
    const std::string label = std::to_string(static_cast<int>(name)) + (safe ? " safe" : "");
    const double least = t.outlined ? 7.0 : 4.5;
    std::vector<std::pair<Slot, Slot>> pairs = {
        {Slot::Text, Slot::Window},        {Slot::Text, Slot::Base},
        {Slot::ButtonText, Slot::Button},  {Slot::HighlightedText, Slot::Highlight},
        {Slot::Text, Slot::ExecutionBack}, {Slot::Text, Slot::InputBack},
        {Slot::Text, Slot::GreyBack},      {Slot::Text, Slot::PanelBack}};
    if (name != ThemeName::Light) pairs.push_back({Slot::DisabledText, Slot::Window});
    for (Slot text : {Slot::Text, Slot::Label, Slot::Mnemonic, Slot::Operand, Slot::Comment})
      pairs.insert(pairs.end(), {{text, Slot::Base}, {text, Slot::RunningLine}});
    for (const auto& [text, back] : pairs)
      EXPECT_GE(contrastRatio(t[text], t[back]), least)
          << label << ": " << slotName(text) << " on " << slotName(back);
    for (Slot cell : kMachine)
      EXPECT_GE(contrastRatio(markColor(t[cell]), t[cell]), least)
          << label << " digit on " << slotName(cell);
    // Not text, but a mark that must be seen: 3:1 against the window and the screens.
    for (Slot back : {Slot::Window, Slot::ExecutionBack, Slot::InputBack})
      EXPECT_GE(contrastRatio(t[Slot::Focus], t[back]), 3.0) << label << " focus";
    EXPECT_GE(contrastRatio(t[Slot::Problem], t[Slot::Base]), 3.0) << label << " problem";
  }
}

// CIEDE2000 after each simulation: at least 15 between any two colours of one kind of
// cell (10 is a plainly different colour at a glance). The usual colours fall short, which
// is why the variants exist.
TEST(Themes, ColourBlindSafeVariantsKeepEveryCellsColoursApart) {
  constexpr double kThreshold = 15.0;
  std::string where;
  for (ThemeName name : {ThemeName::Light, ThemeName::Dark})
    EXPECT_GE(closestPair(theme(name, true), where), kThreshold) << where;
  EXPECT_LT(closestPair(theme(ThemeName::Light, false), where), kThreshold);
}

// Each name as the command line gives it, then the theme drawn on a desktop that is light,
// dark, high-contrast, and both (0 Light, 1 Dark, 2 High Contrast).
TEST(Themes, SystemFollowsTheDesktopAndNamesAreTheCommandLines) {
  std::string seen;
  for (const char* name : {"system", "light", "dark", "high-contrast"}) {
    const auto choice = parseThemeChoice(name);
    ASSERT_TRUE(choice) << name;
    seen += std::string(choiceName(*choice)) + ":";
    for (int desktop = 0; desktop < 4; ++desktop)
      seen += " " + std::to_string(static_cast<int>(resolve(*choice, desktop & 1, desktop & 2)));
    seen += "\n";
  }
  EXPECT_EQ(seen, "system: 0 1 2 2\nlight: 0 0 0 0\ndark: 1 1 1 1\nhigh-contrast: 2 2 2 2\n");
  for (const char* bad : {"", "Dark", "light "}) EXPECT_FALSE(parseThemeChoice(bad));
}
