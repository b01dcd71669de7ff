// SPDX-License-Identifier: GPL-3.0-or-later
// The windows in another language, as a student meets them: under the pseudo-language every
// text a window draws or gives a screen reader comes from the catalog and fits its element;
// a change of language mid-run redraws every text and keeps the machine, which runs on in
// every language; View > Language chooses a language for every window, Qt's own dialogs and
// the help, and remembers it.
#include <QAccessible>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <sstream>

#include "bridge_fixture.h"
#include "i18n/languages.h"
#include "machine/machine_view.h"
#include "qt/accessibility.h"
#include "qt/caption_place.h"
#include "qt/help_viewer.h"
#include "qt/language_menu.h"
#include "qt/qt_font.h"
#include "qt/qt_text.h"
#include "qt/translated.h"
#include "support/data_table.h"

namespace volpar::qttest {
namespace {

const QString kOpen = QStringLiteral("⟦");

// A text with words to translate: the machine's notation (T=0, S7, ADD, BR NNeg, X) is the
// same in every language.
bool hasWords(QString s) {
  static const QRegularExpression notation(QStringLiteral("\\bN?Neg\\b"));
  s.remove(notation);
  return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetter() && !c.isUpper(); });
}
std::string str(const QString& s) { return s.toStdString(); }

class Languages : public BridgeFixture {
 protected:
  ~Languages() override { frontEnd.setLanguage("en"); }

  // Notes a text left out of the catalog, and one drawn outside its box.
  void check(const std::string& where, const QString& text, bool fits = true) {
    if (hasWords(text) && !text.startsWith(kOpen))
      problems << where << ": not in the catalog: " << str(text) << "\n";
    if (!fits) problems << where << ": cut off: " << str(text) << "\n";
  }

  // Each drawn caption measured with the font it is drawn in, inside its element's box; a
  // lone letter names a register (X, Y, S) in every language: only longer texts grow.
  void checkElement(qt::FormWindow& w, ui::Element& e) {
    const std::string where = e.form().name() + "." + e.displayName();
    const QRectF box(QPointF(), w.pixelRect(e).size());
    if (auto* label = dynamic_cast<ui::Label*>(&e); label && !label->Caption().empty()) {
      const QString caption = qt::shown(label->Caption());
      const QFont font = qt::toQFont(e.font(), w.scale());
      const QRectF ink = qt::placeCaption(caption, font, box, qt::CaptionAlign::TopLeft).ink;
      check(where, caption,
            label->Caption().size() <= 1 || box.adjusted(-.5, -.5, .5, .5).contains(ink));
    } else if (auto* frame = dynamic_cast<ui::Frame*>(&e)) {
      check(where, qt::shown(frame->Caption()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w.widgetOf(e))) {
      check(where, button->text(), buttonFits(*button));
    }
  }

  static bool buttonFits(QAbstractButton& b) {
    if (const bool radio = b.inherits("QRadioButton"); radio || b.inherits("QCheckBox")) {
      QStyleOptionButton option;  // the room the style gives the text beside the mark
      option.initFrom(&b);
      const QRect room = b.style()->subElementRect(
          radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &b);
      return QFontMetricsF(b.font()).horizontalAdvance(b.text().remove('&')) <= room.width();
    }
    const QRectF area = QRectF(b.rect()).adjusted(3, 2, -3, -2);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRectF need = QFontMetricsF(b.font()).boundingRect(area, flags, b.text());
    return need.width() <= area.width() + 0.5 && need.height() <= area.height() + 0.5;
  }

  // Each item of the menus; the languages are listed by their own names, in any language.
  void checkMenus(const std::string& where, const QList<QAction*>& actions) {
    for (QAction* a : actions) {
      if (a->menu() && a->text() != qt::tr("&Language")) checkMenus(where, a->menu()->actions());
      check(where + " menu", a->text());
    }
  }

  // Everything the visible screens show and give a screen reader, now.
  void checkScreens() {
    for (ui::Form* form : screens()) {
      qt::FormWindow& w = window(*form);
      if (!w.isVisible()) continue;
      w.flushRepaints();
      check(form->name() + " title", w.windowTitle());
      for (ui::Element* e : form->elements())
        if (e->shownOnScreen()) checkElement(w, *e);
      if (w.menuWidget()) checkMenus(form->name(), w.menuBar()->actions());
      QAccessibleInterface* area = QAccessible::queryAccessibleInterface(w.clientArea());
      for (int i = 0; area && i < area->childCount(); ++i)
        check(form->name() + " part", area->child(i)->text(QAccessible::Name));
    }
  }

  std::ostringstream problems;
};

TEST_F(Languages, UnderThePseudoLanguageEveryTextIsInTheCatalogAndFits) {
  frontEnd.setLanguage(std::string(i18n::kPseudo));
  // Each state a student passes through, with the panels and boxes it opens.
  const std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"welcome", [] {}},
      {"input", [this] { hideWelcome(); }},
      {"start panel", [this] { act([this] { input().Command_Execute_Program.click(); }); }},
      {"execution", [this] { act([this] { input().Command_OK_For_Start_Location.click(); }); }},
      {"options panel", [this] { act([this] { rexec().Command_Options.click(); }); }},
      {"manual run", [this] {
         act([this] { rexec().manual_radio.click(), rexec().Command_Options_Close.click(); });
         step(3);
       }}};
  for (const auto& [name, go] : steps) {
    go();
    settle(qt::MachineAccessibility::kAnnounceMs + 20);
    SCOPED_TRACE(name);
    checkScreens();
  }
  // The reading windows: titles, buttons and fixed words.
  for (QWidget* r :
       std::initializer_list<QWidget*>{&frontEnd.showHistory(), &frontEnd.showMachineState(),
                                       &frontEnd.showProgramText(), &frontEnd.showPhase()}) {
    settle();
    check("window title", r->windowTitle());
    for (QAbstractButton* b : r->findChildren<QAbstractButton*>())
      check(str(r->windowTitle()) + " button", b->text());
  }
  EXPECT_EQ(problems.str(), "");
}

// A change of language mid-run redraws every caption at once and touches nothing of the run:
// back in English, the screen is exactly as it was. Then View > Language chooses each
// language in turn for every window, Qt's own dialogs and the help open (in English where it
// has not been translated), and remembers it; the counting loop (LOAD 6, ADD 7, OUTPUT,
// STORE 6, BRANCH 0: S counts 1, 2, 3... at the output) runs on in each: the golden file
// tests/data/i18n/qt-languages.txt. The command line wins over the choice remembered, which
// wins over the system's language.
TEST_F(Languages, AChangeRedrawsEveryTextKeepsTheMachineAndIsRemembered) {
  hideWelcome();
  poke({{0, "00100110"}, {1, "00000111"}, {2, "10000000"}});
  poke({{3, "01000110"}, {4, "10100000"}, {7, "00000001"}});
  manualRun();
  step(6);
  const auto state = [this] {
    const MachineView v(rexec(), input(), app.manual());
    return std::vector<int>{v.pc(), v.ar(), v.ir(), v.s(), v.litPhase(), v.memory(0), v.output()};
  };
  const std::vector<int> before = state();
  const QImage english = render(rexec());
  act([this] { platform.showHelp(VOLPAR_HELP_FILE, 1); });
  std::string seen;
  const auto say = [&](const QString& chosen) {
    seen += str(chosen + " → ") + std::string(i18n::language()) + ", kept '" +
            qt::languageChoice() + "': " +
            str(platform.helpViewer()->browser()->documentTitle() + " | " +
                QCoreApplication::translate("QFileDialog", "Look in:")) +
            " | output " + std::to_string(state().back()) + "\n";
  };

  frontEnd.setLanguage(std::string(i18n::kPseudo));
  EXPECT_EQ(state(), before);
  const QImage pseudo = render(rexec());
  for (ui::Element* e : rexec().elements()) {
    auto* label = dynamic_cast<ui::Label*>(e);
    if (!label || !e->shownOnScreen() || !hasWords(qt::text(label->Caption()))) continue;
    const QRect r = window(rexec()).pixelRect(*e);
    EXPECT_NE(english.copy(r), pseudo.copy(r)) << e->displayName() << " was not drawn again";
  }
  say(QStringLiteral("x-pseudo"));
  frontEnd.setLanguage("en");
  EXPECT_EQ(state(), before);
  EXPECT_EQ(render(rexec()), english);
  // View > Language (the View menu's items: themes_test.cpp).
  QMenu* languages = window(input()).menuBar()->actions().last()->menu()->actions()[3]->menu();
  ASSERT_NE(languages, nullptr);
  for (QAction* item : languages->actions().mid(2)) {  // each language under its own name
    item->trigger();
    for (int n = 0, count = state().back(); state().back() == count && n < 300; ++n) step();
    say(item->text());
  }
  // The system asks for French (gettext reads LANGUAGE only beside a locale other than C).
  const QByteArray language = qgetenv("LANGUAGE"), all = qgetenv("LC_ALL");
  qputenv("LANGUAGE", "");
  qputenv("LC_ALL", "fr_FR.UTF-8");
  seen += "starts in " + qt::startLanguage("") + ", with --language es in " +
          qt::startLanguage("es") + "\n";
  languages->actions()[0]->trigger();
  say(languages->actions()[0]->text());
  seen += "starts in " + qt::startLanguage("") + "\n";
  qputenv("LANGUAGE", language);
  qputenv("LC_ALL", all);
  testing::expectGolden("i18n/qt-languages.txt", seen);
}

}  // namespace
}  // namespace volpar::qttest
