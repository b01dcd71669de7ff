// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string_view>

class QAction;
class QMenu;
class QWidget;

namespace volpar::qt {

// The windows' own texts in the language in use: a text goes through i18n's tr() and fill()
// like every other, never through a second mechanism of the toolkit.
QString tr(std::string_view source);
// The text of a model element (a caption, a window title) as drawn: the model keeps English.
QString shown(std::string_view text);

// A fixed text of a window's own (a menu item, a button, a heading, a title) kept with its
// English source, so that retranslateTexts() shows it again in a new language. A label,
// button or menu takes its text or title, any other widget its window title.
void setTranslated(QAction& action, std::string_view source);
void setTranslated(QWidget& widget, std::string_view source);
void setTranslatedTitle(QWidget& window, std::string_view source);
void setTranslatedName(QWidget& widget, std::string_view source);
// Every text set above, in every window, shown again in the language now in use.
void retranslateTexts();

}  // namespace volpar::qt
