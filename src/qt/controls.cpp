// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextCursor>
#include <algorithm>

#include "frontend/caption_fit.h"
#include "qt/box_text.h"
#include "qt/qt_color.h"
#include "qt/qt_font.h"
#include "qt/translated.h"

namespace volpar::qt {

namespace {

// The mark of the keyboard's focus, drawn the same on every control whatever the style
// draws of its own: a dotted line inside its edge, in the text colour. Only while the
// focus has moved by keyboard in that window, as styles show theirs.
void paintFocusMark(QWidget& w) {
  if (!w.hasFocus() || !w.window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
  QPainter p(&w);
  p.setPen(QPen(w.palette().color(QPalette::WindowText), 1, Qt::DotLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(w.rect().adjusted(2, 2, -3, -3));
}

// Where a command button draws its caption, and how.
QRect buttonTextArea(const QRect& button) { return button.adjusted(3, 2, -3, -2); }
constexpr int kButtonTextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

// A command button whose caption wraps onto further lines when it is too long for one; its
// font is set smaller beforehand if it still does not fit (fontOf).
class WrappingButton : public QPushButton {
 public:
  explicit WrappingButton(QWidget* parent) : QPushButton(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QRect area = buttonTextArea(rect());
    const int flags = kButtonTextFlags;
    p.setFont(font());
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, flags, text());
    p.end();
    paintFocusMark(*this);
  }
};

// The speed bar shows when it has the focus, as the buttons do.
class FocusScrollBar : public QScrollBar {
 public:
  FocusScrollBar(Qt::Orientation o, QWidget* parent) : QScrollBar(o, parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QScrollBar::paintEvent(event);
    paintFocusMark(*this);
  }
};

// A one-line box selects its text when a click gives it the focus, as Tab does, so that
// what the student types replaces the "0" it holds.
class EntryBox : public QLineEdit {
 public:
  explicit EntryBox(QWidget* parent) : QLineEdit(parent) {}

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    focusedByClick_ = event->reason() == Qt::MouseFocusReason;
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLineEdit::mouseReleaseEvent(event);
    if (focusedByClick_ && hasFocus()) selectAll();
    focusedByClick_ = false;
  }

 private:
  bool focusedByClick_ = false;
};

QString boxText(const ui::TextBox& e) {
  const std::string_view shown = frontend::boxText(e);
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

// Text as a multi-line box shows it: line breaks of either convention become one.
QString multiLineText(const ui::TextBox& e) {
  return boxText(e).replace("\r\n", "\n").replace('\r', '\n');
}

// An element without a colour of its own keeps the style's colour for the role.
void setRoleColor(QWidget& w, QPalette::ColorRole role, ui::Color color) {
  const QPalette standard = QApplication::palette(&w);
  const bool text =
      role == QPalette::Text || role == QPalette::WindowText || role == QPalette::ButtonText;
  const QColor wanted = toQColor(color, standard, standard.color(QPalette::Active, role),
                                 text ? frontend::Paint::Fore : frontend::Paint::Back);
  QPalette pal = w.palette();
  if (pal.color(QPalette::Active, role) == wanted && pal.color(QPalette::Inactive, role) == wanted)
    return;
  pal.setColor(QPalette::Active, role, wanted);
  pal.setColor(QPalette::Inactive, role, wanted);
  w.setPalette(pal);
}

// The room an option or check box leaves its text beside the mark: a text wider than that
// is set smaller, since the box never grows.
QFont checkableFont(const QAbstractButton& box, bool radio, const QFont& font, int width) {
  const QStyle& style = *box.style();
  const int mark =
      style.pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                        nullptr, &box) +
      style.pixelMetric(
          radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
          &box);
  const QRectF room(0, 0, std::max(1, width - mark - 2), 0x10000);
  return shrunkFont(font, room, box.text(), Qt::AlignLeft | Qt::TextShowMnemonic);
}

QFont fontOf(const QWidget& w, const ui::Element& e, const TwipScale& ts) {
  const QFont font = toQFont(e.font(), ts.scale);
  if (e.kind() == ui::ElementKind::CommandButton) {
    const QRect area = buttonTextArea(QRect(QPoint(), ts.pixels(e.rect()).size()));
    return shrunkFont(font, area, static_cast<const QAbstractButton&>(w).text(), kButtonTextFlags);
  }
  const bool radio = e.kind() == ui::ElementKind::OptionButton;
  if (!radio && e.kind() != ui::ElementKind::CheckBox) return font;
  return checkableFont(static_cast<const QAbstractButton&>(w), radio, font,
                       ts.pixels(e.rect()).width());
}

void syncCommon(QWidget& w, const ui::Element& e, const TwipScale& ts) {
  const QRect geometry = ts.pixels(e.rect());
  if (w.geometry() != geometry) w.setGeometry(geometry);
  const QFont font = fontOf(w, e, ts);
  if (w.font() != font) w.setFont(font);
  if (w.isEnabled() != e.enabled()) w.setEnabled(e.enabled());
  if (w.isVisibleTo(w.parentWidget()) != e.visible()) w.setVisible(e.visible());
}

void syncButton(QPushButton& b, const ui::CommandButton& e) {
  const QString caption = shown(e.Caption());
  if (b.text() != caption) b.setText(caption);
  if (b.isDefault() != e.Default()) b.setDefault(e.Default());
  setRoleColor(b, QPalette::Button, e.backColor());
}

void syncLineEdit(QLineEdit& edit, const ui::TextBox& e) {
  const int limit = e.MaxLength() > 0 ? e.MaxLength() : 32767;
  if (edit.maxLength() != limit) edit.setMaxLength(limit);
  if (const QString wanted = boxText(e); edit.text() != wanted) {
    edit.setText(wanted);
    syncSelection(edit, e);
  }
  setRoleColor(edit, QPalette::Base, e.backColor());
  setRoleColor(edit, QPalette::Text, e.foreColor());
}

void syncPlainText(QPlainTextEdit& edit, const ui::TextBox& e) {
  const QString wanted = multiLineText(e);
  if (edit.toPlainText() != wanted) edit.setPlainText(wanted);
  setRoleColor(edit, QPalette::Base, e.backColor());
  setRoleColor(edit, QPalette::Text, e.foreColor());
}

template <class Box>
void syncCheckable(Box& box, const std::string& caption, ui::Color back) {
  const QString wanted = shown(caption);
  if (box.text() != wanted) box.setText(wanted);
  box.setAutoFillBackground(back != ui::kInherit);
  setRoleColor(box, box.backgroundRole(), back);
}

void syncScrollBar(QScrollBar& bar, const ui::HScrollBar& e) {
  if (bar.minimum() != e.Min() || bar.maximum() != e.Max()) bar.setRange(e.Min(), e.Max());
  bar.setSingleStep(e.SmallChange());
  bar.setPageStep(e.LargeChange());
  if (bar.value() != e.Value()) bar.setValue(e.Value());
}

}  // namespace

bool isControl(ui::ElementKind kind) {
  switch (kind) {
    case ui::ElementKind::CommandButton:
    case ui::ElementKind::TextBox:
    case ui::ElementKind::OptionButton:
    case ui::ElementKind::CheckBox:
    case ui::ElementKind::HScrollBar: return true;
    default: return false;
  }
}

QWidget* createControl(const ui::Element& element, QWidget* parent) {
  QWidget* w = nullptr;
  switch (element.kind()) {
    case ui::ElementKind::CommandButton: {
      auto* b = new WrappingButton(parent);
      b->setAutoDefault(false);
      w = b;
      break;
    }
    case ui::ElementKind::TextBox: {
      const auto& box = static_cast<const ui::TextBox&>(element);
      if (box.MultiLine()) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setTabChangesFocus(true);
        w = edit;
      } else {
        w = new EntryBox(parent);
      }
      if (!box.TabStop()) w->setFocusPolicy(Qt::ClickFocus);
      break;
    }
    case ui::ElementKind::OptionButton: {
      auto* r = new QRadioButton(parent);
      r->setAutoExclusive(false);  // the program clears the others of the group itself
      w = r;
      break;
    }
    case ui::ElementKind::CheckBox: w = new QCheckBox(parent); break;
    case ui::ElementKind::HScrollBar: {
      auto* bar = new FocusScrollBar(Qt::Horizontal, parent);
      bar->setFocusPolicy(Qt::StrongFocus);
      // A scroll bar's keys run against its value by default (Page Up goes towards the
      // top); here the value grows to the right, and Right must raise it as the right
      // arrow button does.
      bar->setInvertedControls(false);
      w = bar;
      break;
    }
    default: return nullptr;
  }
  w->setObjectName(QString::fromStdString(element.displayName()));
  return w;
}

void syncControl(QWidget& widget, const ui::Element& element, const TwipScale& ts) {
  const QSignalBlocker quiet(widget);
  switch (element.kind()) {
    case ui::ElementKind::CommandButton:
      syncButton(static_cast<QPushButton&>(widget), static_cast<const ui::CommandButton&>(element));
      break;
    case ui::ElementKind::TextBox: {
      const auto& box = static_cast<const ui::TextBox&>(element);
      if (auto* edit = qobject_cast<QLineEdit*>(&widget)) syncLineEdit(*edit, box);
      if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) syncPlainText(*edit, box);
      break;
    }
    case ui::ElementKind::OptionButton: {
      const auto& option = static_cast<const ui::OptionButton&>(element);
      auto& radio = static_cast<QRadioButton&>(widget);
      syncCheckable(radio, option.Caption(), option.backColor());
      radio.setChecked(option.Value());
      break;
    }
    case ui::ElementKind::CheckBox: {
      const auto& check = static_cast<const ui::CheckBox&>(element);
      auto& box = static_cast<QCheckBox&>(widget);
      syncCheckable(box, check.Caption(), check.backColor());
      box.setTristate(check.Value() == 2);
      box.setCheckState(check.Value() == 1   ? Qt::Checked
                        : check.Value() == 2 ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
      break;
    }
    case ui::ElementKind::HScrollBar:
      syncScrollBar(static_cast<QScrollBar&>(widget), static_cast<const ui::HScrollBar&>(element));
      break;
    default: break;
  }
  syncCommon(widget, element, ts);
}

void syncSelection(QWidget& widget, const ui::TextBox& box) {
  const QSignalBlocker quiet(widget);
  if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
    if (box.SelLength() > 0) {
      edit->setSelection(box.SelStart(), box.SelLength());
    } else {
      edit->setCursorPosition(box.SelStart());
    }
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) {
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(box.SelStart());
    cursor.setPosition(box.SelStart() + box.SelLength(), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
  }
}

TypedText typedText(const QWidget& widget) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
    return {edit->text().toStdString(), edit->cursorPosition()};
  }
  if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&widget)) {
    return {edit->toPlainText().toStdString(), edit->textCursor().position()};
  }
  return {};
}

}  // namespace volpar::qt
