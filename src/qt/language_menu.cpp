// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/language_menu.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <cstdlib>

#include "i18n/languages.h"
#include "i18n/text.h"
#include "qt/qt_text.h"
#include "qt/translated.h"

namespace volpar::qt {

namespace {

const char* const kLanguageKey = "view/language";

QSettings settings() { return QSettings(QStringLiteral("VOLPAR"), QStringLiteral("volpar")); }

bool listed(std::string_view code) {
  for (const i18n::Language& l : i18n::languages()) {
    if (l.code == code) return true;
  }
  return code == i18n::kPseudo;
}

}  // namespace

std::string languageChoice() {
  const std::string choice = settings().value(kLanguageKey).toString().toStdString();
  // A setting from another version, or edited by hand, that names no language: the system's.
  return listed(choice) ? choice : std::string();
}

void rememberLanguage(std::string_view choice) { settings().setValue(kLanguageKey, text(choice)); }

std::string languageOf(std::string_view choice) {
  if (!choice.empty()) return std::string(choice);
  return std::string(i18n::systemLanguage([](const char* name) { return std::getenv(name); }));
}

void translateToolkit(std::string_view code) {
  static QTranslator* toolkit = nullptr;
  if (toolkit) QCoreApplication::removeTranslator(toolkit);
  delete toolkit;
  toolkit = new QTranslator;
  if (toolkit->load(QStringLiteral("qtbase_") + text(code),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(toolkit);
}

std::string startLanguage(std::string_view commandLine) {
  return languageOf(commandLine.empty() ? std::string_view(languageChoice()) : commandLine);
}

QMenu* languageMenu(QWidget* parent, std::function<void(const std::string&)> choose) {
  auto* menu = new QMenu(parent);
  setTranslated(*menu, i18n::mark("&Language"));
  auto* group = new QActionGroup(menu);
  const auto add = [&](const std::string& choice) {
    QAction* item = menu->addAction(QString());
    item->setCheckable(true);
    item->setActionGroup(group);
    QObject::connect(item, &QAction::triggered, menu, [choose, choice] { choose(choice); });
    QObject::connect(menu, &QMenu::aboutToShow, item,
                     [item, choice] { item->setChecked(languageChoice() == choice); });
    return item;
  };
  setTranslated(*add(""), i18n::mark("&System language"));
  menu->addSeparator();
  // Each language by its own name, which a reader of that language finds in any language.
  for (const i18n::Language& l : i18n::languages()) add(std::string(l.code))->setText(text(l.name));
  return menu;
}

}  // namespace volpar::qt
