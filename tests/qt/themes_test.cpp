// SPDX-License-Identifier: GPL-3.0-or-later
// The windows drawn in each theme, read back from their pixels: every cell in the colour
// its meaning has in the theme, the theme's grounds behind the screens, High Contrast's
// digits in every cell, the program text's words; View > Theme switches at once and is
// remembered.
#include <QMenuBar>
#include <QSettings>
#include <QTextBlock>
#include <QTextLayout>
#include <map>
#include <set>

#include "bridge_fixture.h"
#include "frontend/contrast.h"
#include "qt/program_text_window.h"
#include "qt/theme.h"

namespace volpar::qttest {
namespace {

using frontend::Slot;
using frontend::ThemeChoice;

QColor qcolor(frontend::Rgb c) { return QColor(c.red, c.green, c.blue); }

// The themes a student may choose, and their colours; Light last, as the desktop's own.
constexpr std::pair<ThemeChoice, frontend::ThemeName> kThemes[] = {
    {ThemeChoice::Dark, frontend::ThemeName::Dark},
    {ThemeChoice::HighContrast, frontend::ThemeName::HighContrast},
    {ThemeChoice::Light, frontend::ThemeName::Light}};

// What each of the machine's colours means in a cell.
Slot meaning(ui::Color fill) {
  const std::map<ui::Color, Slot> meanings = {{ui::kYellow, Slot::MemoryOne},
                                              {ui::kRed, Slot::RegisterOne},
                                              {ui::kGreen, Slot::Decoder},
                                              {ui::kCyan, Slot::Clock},
                                              {ui::kBlack, Slot::Unknown}};
  return meanings.contains(fill) ? meanings.at(fill) : Slot::Zero;
}

class Themes : public BridgeFixture {
 protected:
  // LOAD 5, STORE 6, OUTPUT, BRANCH 3 with 10 at address 5, stepped five phases in manual
  // mode: memory, PC, IR, decoder and clock all lit.
  Themes() {
    hideWelcome();
    poke({{0, "00100101"}, {1, "01000110"}, {2, "10000000"}, {3, "10100011"}, {5, "00001010"}});
    manualRun();
    step(5);
  }
  ~Themes() override { qt::chooseTheme(ThemeChoice::System, false); }

  // Each cell of the screen shown in its meaning's colour: most of the inner square of its
  // circle (a digit may cover the rest). Returns the cells' count checked.
  int checkCells(ui::Form& form, const frontend::Theme& theme) {
    const QImage shown = render(form);
    std::set<const ui::Element*> bits;
    for (const ui::BitCell& c : form.accessibleParts().bitCells) bits.insert(c.shape);
    int checked = 0;
    for (const ui::Element* e : form.elements()) {
      if (e->kind() != ui::ElementKind::Shape || !e->shownOnScreen()) continue;
      const auto& cell = static_cast<const ui::Shape&>(*e);
      const QColor want = qcolor(theme[meaning(cell.FillColor())]);
      const QColor markColor = qcolor(frontend::markColor(theme[meaning(cell.FillColor())]));
      const QRect box = window(form).pixelRect(cell);
      const int side = std::min(box.width(), box.height()) / 2;
      const QRect inner(box.center() - QPoint(side / 2, side / 2), QSize(side, side));
      int fill = 0, mark = 0;
      for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
          fill += shown.pixelColor(x, y) == want;
          mark += shown.pixelColor(x, y) == markColor;
        }
      }
      // A digit written in it covers most of the rest, nearly all of a small cell.
      const int least = !theme.outlined ? side * side / 2 : side >= 6 ? side * side / 8 : 1;
      EXPECT_GE(fill, least) << e->displayName() << " not " << want.name().toStdString();
      // High Contrast writes every bit inside its cell.
      EXPECT_TRUE(!theme.outlined || !bits.count(e) || side < 6 || mark > 0)
          << e->displayName() << " digit";
      ++checked;
    }
    return checked;
  }
};

// The input screen, the screen with menus, lists Read machine state (F3), Show bit values
// (F4) and the themes in a View menu of its own. The student picks each theme there, and
// its colour-blind-safe variant where it has one: both screens and the program text switch
// at once, every cell, ground, word and the line under way in the theme's colours, the menu
// checks the choice and it is kept for the next run; Light brings back the desktop's own
// palette.
TEST_F(Themes, TheViewMenuDrawsEveryCellAndGroundInTheThemesColoursAndIsRemembered) {
  const QPalette desktop = QApplication::palette();
  QMenu* view = window(input()).menuBar()->actions().last()->menu();
  QMenu* themes = view->actions()[2]->menu();
  ASSERT_NE(themes, nullptr);
  QStringList items;
  for (QMenu* menu : {view, themes}) {
    for (QAction* a : menu->actions()) items << a->text() + " " + a->shortcut().toString();
  }
  EXPECT_EQ(items,
            QStringList({"&Read machine state F3", "Show &bit values F4", "&Theme ", "&Language ",
                         " ", "Program &Text F6", "&Phase Explained F7", "&System ", "&Light ",
                         "&Dark ", "&High Contrast ", " ", "&Colour-blind safe "}));
  QAction* safeItem = themes->actions()[5];
  qt::ProgramTextWindow& text = frontEnd.showProgramText();
  text.showListing();
  text.refresh();
  ASSERT_GT(text.runningLine(), 0);
  for (const auto& [choice, name] : kThemes) {
    for (bool safe : {false, true}) {
      if (safe && name == frontend::ThemeName::HighContrast) continue;
      SCOPED_TRACE(testing::Message() << static_cast<int>(name) << (safe ? " safe" : ""));
      QAction* item = themes->actions()[static_cast<int>(choice)];
      item->trigger();
      if (safeItem->isChecked() != safe) safeItem->trigger();
      emit themes->aboutToShow();
      EXPECT_TRUE(item->isChecked() && safeItem->isChecked() == safe);
      const QSettings kept("VOLPAR", "volpar");
      EXPECT_EQ(kept.value("view/theme").toString(), frontend::choiceName(choice));
      EXPECT_EQ(kept.value("view/colourBlind").toBool(), safe);
      const frontend::Theme& theme = frontend::theme(name, safe);
      EXPECT_GT(checkCells(rexec(), theme), 60);
      EXPECT_GT(checkCells(input(), theme), 250);
      // The grounds behind the screens, and the palette every other window (message boxes,
      // help, history, exercise) takes.
      EXPECT_EQ(render(rexec()).pixelColor(2, 2), qcolor(theme[Slot::ExecutionBack]));
      EXPECT_EQ(render(input()).pixelColor(2, 2), qcolor(theme[Slot::InputBack]));
      // The program text's colours and the line under way.
      std::set<QRgb> drawn;
      for (QTextBlock b = text.editor()->document()->begin(); b.isValid(); b = b.next()) {
        for (const QTextLayout::FormatRange& r : b.layout()->formats())
          drawn.insert(r.format.foreground().color().rgb());
      }
      for (Slot s : {Slot::Mnemonic, Slot::Operand, Slot::Comment})
        EXPECT_TRUE(drawn.count(qcolor(theme[s]).rgb())) << frontend::slotName(s);
      EXPECT_EQ(text.editor()->extraSelections().first().format.background().color(),
                qcolor(theme[Slot::RunningLine]));
      if (name == frontend::ThemeName::Light) {
        EXPECT_EQ(QApplication::palette().color(QPalette::Window), desktop.color(QPalette::Window));
        continue;
      }
      EXPECT_EQ(QApplication::palette().color(QPalette::Window), qcolor(theme[Slot::Window]));
      EXPECT_EQ(widget(input().Input_Bit(1))->palette().color(QPalette::Base),
                qcolor(theme[Slot::Base]));
    }
  }
  text.editor()->setPlainText("start: FROB 3\n");  // a problem's mark, in Light's colour
  EXPECT_EQ(text.editor()->extraSelections().last().format.underlineColor(),
            qcolor(frontend::theme(frontend::ThemeName::Light, true)[Slot::Problem]));
}

}  // namespace
}  // namespace volpar::qttest
