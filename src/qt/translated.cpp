// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/translated.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include "i18n/text.h"
#include "qt/qt_text.h"

namespace volpar::qt {

namespace {

// The English sources, kept on the objects themselves: they live and go with them.
constexpr const char* kTextSource = "volparText";
constexpr const char* kTitleSource = "volparTitle";
constexpr const char* kNameSource = "volparName";

std::string_view sourceOf(const QObject& object, const char* key) {
  const QVariant v = object.property(key);
  if (!v.isValid()) return {};
  const QByteArray& bytes = *static_cast<const QByteArray*>(v.constData());
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void keep(QObject& object, const char* key, std::string_view source) {
  object.setProperty(key, QByteArray(source.data(), static_cast<qsizetype>(source.size())));
}

void applyText(QWidget& widget, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
    label->setText(text);
  } else if (auto* menu = qobject_cast<QMenu*>(&widget)) {
    menu->setTitle(text);
  }
}

void retranslate(QObject& object) {
  if (const std::string_view s = sourceOf(object, kTextSource); !s.empty()) {
    if (auto* action = qobject_cast<QAction*>(&object)) action->setText(tr(s));
    if (auto* widget = qobject_cast<QWidget*>(&object)) applyText(*widget, tr(s));
  }
  auto* widget = qobject_cast<QWidget*>(&object);
  if (!widget) return;
  if (const std::string_view s = sourceOf(object, kTitleSource); !s.empty()) {
    widget->setWindowTitle(tr(s));
  }
  if (const std::string_view s = sourceOf(object, kNameSource); !s.empty()) {
    widget->setAccessibleName(tr(s));
  }
}

}  // namespace

QString tr(std::string_view source) { return text(i18n::tr(source)); }
QString shown(std::string_view s) { return text(i18n::shown(s)); }

void setTranslated(QAction& action, std::string_view source) {
  keep(action, kTextSource, source);
  action.setText(tr(source));
}

void setTranslated(QWidget& widget, std::string_view source) {
  keep(widget, kTextSource, source);
  applyText(widget, tr(source));
}

void setTranslatedTitle(QWidget& window, std::string_view source) {
  keep(window, kTitleSource, source);
  window.setWindowTitle(tr(source));
}

void setTranslatedName(QWidget& widget, std::string_view source) {
  keep(widget, kNameSource, source);
  widget.setAccessibleName(tr(source));
}

void retranslateTexts() {
  for (QWidget* widget : QApplication::allWidgets()) {
    retranslate(*widget);
    for (QAction* action : widget->actions()) retranslate(*action);
  }
}

}  // namespace volpar::qt
