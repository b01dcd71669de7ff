// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <functional>
#include <string>
#include <string_view>

namespace volpar::qt {

// The language chosen in View > Language and remembered between runs: a language's code,
// or "" for the system's language.
std::string languageChoice();
void rememberLanguage(std::string_view choice);

// The language to start in: the one the command line names, else the one remembered, else
// the system's.
std::string startLanguage(std::string_view commandLine);
// The code a choice stands for now ("" is the system's language).
std::string languageOf(std::string_view choice);

// Qt's own words (its file dialogs, a text box's context menu) in the language in use, from
// Qt's translations where the system has them (Debian's qt6-translations-l10n); English
// otherwise. VOLPAR's own texts never come from there.
void translateToolkit(std::string_view code);

// View > Language: "System language", then each language by its own name, as radio items;
// choosing one calls `choose` with the choice.
QMenu* languageMenu(QWidget* parent, std::function<void(const std::string&)> choose);

}  // namespace volpar::qt
