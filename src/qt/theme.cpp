// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/theme.h"

#include <QActionGroup>
#include <QApplication>
#include <QSettings>
#include <QWidget>

#include "i18n/text.h"
#include "qt/form_window.h"
#include "qt/translated.h"

namespace volpar::qt {

namespace {

using frontend::Slot;
using frontend::ThemeChoice;
using frontend::ThemeName;

const char* const kThemeKey = "view/theme";
const char* const kColourBlindKey = "view/colourBlind";

QSettings settings() { return QSettings(QStringLiteral("VOLPAR"), QStringLiteral("volpar")); }

struct State {
  bool loaded = false;
  ThemeChoice choice = ThemeChoice::System;
  bool colourBlind = false;
  ThemeName drawn = ThemeName::Light;
  const frontend::Theme* theme = &frontend::theme(ThemeName::Light, false);
  QPalette desktop;  // the palette before any theme: Light's, and what System reads
};

State& state();

// The desktop says dark when its window colour is: this Qt offers no better signal.
ThemeName resolved(const State& s) {
  const bool dark = s.desktop.color(QPalette::Window).lightness() < 128;
  return frontend::resolve(s.choice, dark, false);
}

void apply(State& s) {
  s.drawn = resolved(s);
  s.theme = &frontend::theme(s.drawn, s.colourBlind);
  QApplication::setPalette(themePalette(s.drawn));
  // Every widget takes the new palette now, not at its next turn of the event loop: a
  // frame taken after this paints in one theme, never in two.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::PaletteChange);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<FormWindow*>(w)) window->restyle();
  }
  for (QWidget* w : QApplication::allWidgets()) w->update();
}

State& state() {
  static State s;
  if (!s.loaded) {
    s.loaded = true;
    s.desktop = QApplication::palette();
    const auto choice =
        frontend::parseThemeChoice(settings().value(kThemeKey).toString().toStdString());
    s.choice = choice.value_or(ThemeChoice::System);
    s.colourBlind = settings().value(kColourBlindKey, false).toBool();
    s.drawn = resolved(s);
    s.theme = &frontend::theme(s.drawn, s.colourBlind);
    if (s.drawn != ThemeName::Light) QApplication::setPalette(themePalette(s.drawn));
  }
  return s;
}

QColor qcolor(frontend::Rgb c) { return QColor(c.red, c.green, c.blue); }

}  // namespace

ThemeChoice themeChoice() { return state().choice; }
bool colourBlindSafe() { return state().colourBlind; }
const frontend::Theme& drawnTheme() { return *state().theme; }
ThemeName drawnThemeName() { return state().drawn; }

void chooseTheme(ThemeChoice choice, bool colourBlind, bool remember) {
  State& s = state();
  if (remember) {
    settings().setValue(kThemeKey, QString::fromLatin1(frontend::choiceName(choice)));
    settings().setValue(kColourBlindKey, colourBlind);
  }
  if (s.choice == choice && s.colourBlind == colourBlind) return;
  s.choice = choice;
  s.colourBlind = colourBlind;
  apply(s);
}

QMenu* themeMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  setTranslated(*menu, i18n::mark("&Theme"));
  auto* group = new QActionGroup(menu);
  const std::pair<const char*, ThemeChoice> items[] = {
      // TRANSLATORS: the theme that follows the desktop's colours.
      {i18n::mark("&System"), ThemeChoice::System},
      {i18n::mark("&Light"), ThemeChoice::Light},
      {i18n::mark("&Dark"), ThemeChoice::Dark},
      {i18n::mark("&High Contrast"), ThemeChoice::HighContrast}};
  for (const auto& [caption, choice] : items) {
    QAction* item = menu->addAction(QString());
    setTranslated(*item, caption);
    item->setCheckable(true);
    item->setActionGroup(group);
    QObject::connect(item, &QAction::triggered, menu,
                     [choice] { chooseTheme(choice, colourBlindSafe()); });
    QObject::connect(menu, &QMenu::aboutToShow, item,
                     [item, choice] { item->setChecked(themeChoice() == choice); });
  }
  menu->addSeparator();
  QAction* safe = menu->addAction(QString());
  setTranslated(*safe, i18n::mark("&Colour-blind safe"));
  safe->setCheckable(true);
  QObject::connect(safe, &QAction::triggered, menu,
                   [] { chooseTheme(themeChoice(), !colourBlindSafe()); });
  QObject::connect(menu, &QMenu::aboutToShow, safe,
                   [safe] { safe->setChecked(colourBlindSafe()); });
  return menu;
}

QPalette themePalette(ThemeName name) {
  if (name == ThemeName::Light) return state().desktop;
  const frontend::Theme& t = frontend::theme(name, false);
  const auto c = [&t](Slot s) { return qcolor(t[s]); };
  QPalette p;
  const std::pair<QPalette::ColorRole, Slot> roles[] = {
      {QPalette::Window, Slot::Window},
      {QPalette::WindowText, Slot::Text},
      {QPalette::Base, Slot::Base},
      {QPalette::AlternateBase, Slot::Window},
      {QPalette::Text, Slot::Text},
      {QPalette::Button, Slot::Button},
      {QPalette::ButtonText, Slot::ButtonText},
      {QPalette::Highlight, Slot::Highlight},
      {QPalette::HighlightedText, Slot::HighlightedText},
      {QPalette::Dark, Slot::Dark},
      {QPalette::Light, Slot::Light},
      {QPalette::Mid, Slot::Dark},
      {QPalette::Midlight, Slot::Light},
      {QPalette::Shadow, Slot::Dark},
      {QPalette::ToolTipBase, Slot::Base},
      {QPalette::ToolTipText, Slot::Text},
      {QPalette::PlaceholderText, Slot::DisabledText},
      {QPalette::BrightText, Slot::HighlightedText},
      {QPalette::Link, Slot::Focus},
      {QPalette::LinkVisited, Slot::Focus}};
  for (const auto& [role, slot] : roles) p.setColor(role, c(slot));
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, c(Slot::DisabledText));
  }
  return p;
}

}  // namespace volpar::qt
