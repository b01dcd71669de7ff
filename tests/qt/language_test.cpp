// SPDX-License-Identifier: GPL-3.0-or-later
// The windows in another language, as a student meets them: under the pseudo-language every
// text a window draws or gives a screen reader comes from the catalog and fits its element;
// a change of language mid-run redraws every text and keeps the machine; every language runs.
#include <QAccessible>
#include <QFontMetricsF>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <sstream>

#include "bridge_fixture.h"
#include "i18n/languages.h"
#include "i18n/text.h"
#include "machine/machine_view.h"
#include "qt/accessibility.h"
#include "qt/caption_place.h"
#include "qt/help_viewer.h"
#include "qt/language_menu.h"
#include "qt/qt_font.h"
#include "qt/qt_text.h"
#include "qt/translated.h"

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
QString plain(QString s) { return s.remove('&'); }
std::string str(const QString& s) { return s.toStdString(); }

class Languages : public BridgeFixture {
 protected:
  ~Languages() override { frontEnd.setLanguage("en"); }

  bool onScreen(const ui::Element& e) {
    for (const ui::Element* c = &e; c; c = c->container()) {
      if (!c->visible()) return false;
    }
    return window(e.form()).isVisible();
  }

  void unmarked(const std::string& where, const QString& text) {
    if (hasWords(text) && !text.startsWith(kOpen))
      problems << where << ": not in the catalog: " << str(text) << "\n";
  }
  void clipped(const std::string& where, const QString& text) {
    problems << where << ": cut off: " << str(text) << "\n";
  }

  // Each drawn caption measured with the font it is drawn in, inside its element's box.
  void checkElement(qt::FormWindow& w, ui::Element& e) {
    const std::string where = e.form().name() + "." + e.displayName();
    const QSizeF box = w.pixelRect(e).size();
    const double scale = w.scale();
    if (e.kind() == ui::ElementKind::Label) {
      const QString caption = qt::shown(static_cast<ui::Label&>(e).Caption());
      if (caption.isEmpty()) return;
      unmarked(where, caption);
      const qt::CaptionPlace p = qt::placeCaption(
          caption, qt::toQFont(e.font(), scale), QRectF(QPointF(), box), qt::CaptionAlign::TopLeft);
      // A lone letter names a register (X, Y, S) in every language: only longer texts grow.
      const bool name = static_cast<ui::Label&>(e).Caption().size() <= 1;
      if (!name && !QRectF(QPointF(), box).adjusted(-0.5, -0.5, 0.5, 0.5).contains(p.ink))
        clipped(where, caption);
    } else if (e.kind() == ui::ElementKind::Frame) {
      unmarked(where, qt::shown(static_cast<ui::Frame&>(e).Caption()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w.widgetOf(e))) {
      unmarked(where, button->text());
      if (!buttonFits(*button)) clipped(where, button->text());
    }
  }

  static bool buttonFits(QAbstractButton& b) {
    const QString text = b.text();
    if (const bool radio = b.inherits("QRadioButton"); radio || b.inherits("QCheckBox")) {
      QStyleOptionButton option;  // the room the style gives the text beside the mark
      option.initFrom(&b);
      const QRect room = b.style()->subElementRect(
          radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &b);
      return QFontMetricsF(b.font()).horizontalAdvance(plain(text)) <= room.width();
    }
    const QRectF area = QRectF(b.rect()).adjusted(3, 2, -3, -2);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRectF need = QFontMetricsF(b.font()).boundingRect(area, flags, text);
    return need.width() <= area.width() + 0.5 && need.height() <= area.height() + 0.5;
  }

  // Each item of the menus; the languages are listed by their own names, in any language.
  void checkMenus(const std::string& where, const QList<QAction*>& actions) {
    for (QAction* a : actions) {
      if (a->menu() && a->text() != qt::tr("&Language")) checkMenus(where, a->menu()->actions());
      unmarked(where + " menu", a->text());
    }
  }

  // Everything the visible screens show and give a screen reader, now.
  void checkScreens() {
    for (ui::Form* form : screens()) {
      qt::FormWindow& w = window(*form);
      if (!w.isVisible()) continue;
      w.flushRepaints();
      unmarked(form->name() + " title", w.windowTitle());
      for (ui::Element* e : form->elements()) {
        if (onScreen(*e)) checkElement(w, *e);
      }
      if (w.menuWidget()) checkMenus(form->name(), w.menuBar()->actions());
      QAccessibleInterface* area = QAccessible::queryAccessibleInterface(w.clientArea());
      for (int i = 0; area && i < area->childCount(); ++i)
        unmarked(form->name() + " part", area->child(i)->text(QAccessible::Name));
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
         act([this] {
           rexec().manual_radio.click();
           rexec().Command_Options_Close.click();
         });
         step(3);
       }}};
  for (const auto& [name, go] : steps) {
    go();
    settle(qt::MachineAccessibility::kAnnounceMs + 20);
    SCOPED_TRACE(name);
    checkScreens();
  }
  // The reading windows: titles, buttons and fixed words.
  std::vector<QWidget*> readers = {&frontEnd.showHistory(), &frontEnd.showMachineState(),
                                   &frontEnd.showProgramText(), &frontEnd.showPhase()};
  settle();
  for (QWidget* r : readers) {
    unmarked("window title", r->windowTitle());
    for (QAbstractButton* b : r->findChildren<QAbstractButton*>())
      unmarked(str(r->windowTitle()) + " button", b->text());
  }
  EXPECT_EQ(problems.str(), "");
}

// A change of language mid-run redraws every caption at once and touches nothing of the run:
// back in English, the screen is exactly as it was.
TEST_F(Languages, SwitchingMidRunRedrawsEveryTextAndKeepsTheMachine) {
  hideWelcome();
  poke({{0, "00100101"}, {5, "00001010"}});
  manualRun();
  step(6);
  const auto state = [this] {
    const MachineView v(rexec(), input(), app.manual());
    return std::vector<int>{v.pc(), v.ar(), v.ir(), v.s(), v.litPhase(), v.memory(0)};
  };
  const std::vector<int> before = state();
  const QImage english = render(rexec());
  QAbstractButton* stepButton = qobject_cast<QAbstractButton*>(widget(rexec().Command_Begin_Step));
  const QString stepCaption = stepButton->text();

  frontEnd.setLanguage(std::string(i18n::kPseudo));
  EXPECT_EQ(state(), before);
  EXPECT_TRUE(stepButton->text().startsWith(kOpen)) << str(stepButton->text());
  const QImage pseudo = render(rexec());
  for (ui::Element* e : rexec().elements()) {
    if (e->kind() != ui::ElementKind::Label || !onScreen(*e)) continue;
    if (!hasWords(qt::text(static_cast<ui::Label*>(e)->Caption()))) continue;
    const QRect r = window(rexec()).pixelRect(*e);
    EXPECT_NE(english.copy(r), pseudo.copy(r)) << e->displayName() << " was not drawn again";
  }
  frontEnd.setLanguage("en");
  EXPECT_EQ(state(), before);
  EXPECT_EQ(stepButton->text(), stepCaption);
  EXPECT_EQ(render(rexec()), english);
}

// View > Language switches every window at once and is remembered; the command line wins
// over the choice remembered, which wins over the system's language.
TEST_F(Languages, TheViewMenuChoosesAndRemembersTheLanguage) {
  hideWelcome();
  QMenu* view = window(input()).menuBar()->actions().last()->menu();
  QMenu* languages = nullptr;
  for (QAction* a : view->actions()) {
    if (a->text() == "&Language") languages = a->menu();
  }
  ASSERT_NE(languages, nullptr);
  ASSERT_EQ(languages->actions()[3]->text(), "Deutsch");
  languages->actions()[3]->trigger();
  EXPECT_EQ(i18n::language(), "de");
  EXPECT_EQ(qt::languageChoice(), "de");
  // Qt's own dialogs follow, from Qt's translations.
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Suchen in:");
  // The system asks for French (gettext reads LANGUAGE only beside a locale other than C).
  const QByteArray language = qgetenv("LANGUAGE"), all = qgetenv("LC_ALL");
  qputenv("LANGUAGE", "");
  qputenv("LC_ALL", "fr_FR.UTF-8");
  const std::pair<const char*, const char*> starts[] = {{"", "de"}, {"es", "es"}};
  for (const auto& [commandLine, language] : starts)
    EXPECT_EQ(qt::startLanguage(commandLine), language);
  languages->actions()[0]->trigger();  // the system's language
  EXPECT_EQ(i18n::language(), "fr");
  EXPECT_EQ(qt::languageChoice(), "");
  EXPECT_EQ(qt::startLanguage(""), "fr");
  qputenv("LANGUAGE", language);
  qputenv("LC_ALL", all);
}

// The help opens in the language in use when it has been translated, else in English; open,
// it follows a change of language at once.
TEST_F(Languages, TheHelpIsReadInTheLanguageInUse) {
  const auto title = [this] { return platform.helpViewer()->browser()->documentTitle(); };
  act([this] { platform.showHelp(VOLPAR_HELP_FILE, 1); });
  EXPECT_EQ(title(), "VOLPAR Help");
  frontEnd.setLanguage("de");
  EXPECT_EQ(title(), "VOLPAR-Hilfe");
  frontEnd.setLanguage(std::string(i18n::kPseudo));  // no help of its own
  EXPECT_EQ(title(), "VOLPAR Help");
}

// Each language opens the screens and runs a counting loop: S counts 1, 2, 3 at the output.
class EachLanguage : public Languages, public ::testing::WithParamInterface<const char*> {};

TEST_P(EachLanguage, RunsTheCountingLoop) {
  frontEnd.setLanguage(GetParam());
  ASSERT_EQ(i18n::language(), GetParam());
  hideWelcome();
  // LOAD 6, ADD 7, OUTPUT, STORE 6, BRANCH 0; 6 holds the count, 7 a one.
  poke({{0, "00100110"}, {1, "00000111"}, {2, "10000000"}});
  poke({{3, "01000110"}, {4, "10100000"}, {7, "00000001"}});
  manualRun();
  const auto output = [this] { return MachineView(rexec(), input(), app.manual()).output(); };
  for (int phases = 0; output() < 3 && phases < 300; ++phases) step();
  EXPECT_EQ(output(), 3);
}

INSTANTIATE_TEST_SUITE_P(Languages, EachLanguage,
                         ::testing::Values("de", "es", "fr", "pt_BR", "zh_CN"));

}  // namespace
}  // namespace volpar::qttest
