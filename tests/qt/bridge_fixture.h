// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/application.h"
#include "qt/front_end.h"
#include "qt/qt_platform.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"

namespace volpar::qttest {

// A drawn colour by the first letter of its name (w white, y yellow, l light green...); any
// other as '#'.
inline char colourLetter(const QColor& c) {
  static const std::pair<QRgb, char> letters[] = {{0xffffff, 'w'}, {0xffff00, 'y'}, {0xff0000, 'r'},
                                                  {0x00ff00, 'g'}, {0x00ffff, 'c'}, {0x000000, 'b'},
                                                  {0xc0ffc0, 'l'}};
  for (const auto& [rgb, letter] : letters) {
    if ((c.rgb() & 0xffffff) == rgb) return letter;
  }
  return '#';
}

// A window as a person reads it: its title, then each widget shown in it, top to bottom
// and left to right: buttons and labels with their text, boxes with theirs, lists line by
// line. One that is dimmed, checked, coloured, selected or read as markup says so.
inline std::string shows(const QWidget& window) {
  std::string s = window.windowTitle().toStdString() + (window.isVisible() ? "\n" : " (hidden)\n");
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  std::stable_sort(widgets.begin(), widgets.end(), [&window](QWidget* a, QWidget* b) {
    const QPoint p = a->mapTo(&window, QPoint()), q = b->mapTo(&window, QPoint());
    return std::pair(p.y(), p.x()) < std::pair(q.y(), q.x());
  });
  for (const QWidget* w : widgets) {
    if (!w->isVisibleTo(&window)) continue;
    QString line;
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
      line = "[" + b->text() + "]" + (b->isChecked() ? " (checked)" : "");
    } else if (const auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty()) {
      const bool markup = l->textFormat() != Qt::PlainText && Qt::mightBeRichText(l->text());
      line = l->text() + (markup ? " (markup)" : "");
    } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
      line = "box " + e->text() + (e->hasSelectedText() ? " (selected)" : "");
    } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
      for (int i = 0; i < list->count(); ++i) {
        const QBrush ink = list->item(i)->foreground();
        line += "\n  " + list->item(i)->text() +
                (ink.style() == Qt::NoBrush ? "" : " (" + ink.color().name() + ")");
      }
      line = "list:" + line;
    } else {
      continue;
    }
    s += line.toStdString() + (w->isEnabled() ? "" : " (dimmed)") + "\n";
  }
  return s;
}

// The program with its real windows, offscreen: a QtPlatform whose end is only noted, the
// application and its front end, started as at program start.
class BridgeFixture : public ::testing::Test {
 protected:
  BridgeFixture() {
    platform.setEndAction([this] { ++endRequests; });
    frontEnd.start();
    settle();
  }

  qt::QtPlatform platform;
  Application app{platform};
  qt::FrontEnd frontEnd{app, platform};
  int endRequests = 0;

  DERAZO_Input& input() { return *app.existingDerazoInput(); }
  REXEC& rexec() { return *app.existingRexec(); }
  qt::FormWindow& window(const ui::Form& form) {
    qt::FormWindow* w = frontEnd.windowOf(form);
    EXPECT_NE(w, nullptr) << form.name();
    return *w;
  }
  QWidget* widget(const ui::Element& e) { return window(e.form()).widgetOf(e); }
  std::vector<ui::Form*> screens() { return {&app.initialScreen(), &input(), &rexec()}; }

  // Sizes the window so that its client area is exactly this size: its menu bar grows
  // with the window and takes some of the height.
  void sizeClient(qt::FormWindow& w, QSize client) {
    for (int i = 0; i < 3 && w.clientArea()->size() != client; ++i) {
      w.resize(w.size() + (client - w.clientArea()->size()));
      settle();
    }
    ASSERT_EQ(w.clientArea()->size(), client);
  }

  // Lets queued events run (deferred deletes, repaints, animated clicks).
  static void settle(int ms = 0) {
    QApplication::processEvents();
    if (ms > 0) QTest::qWait(ms);
    QApplication::processEvents();
  }

  static QWidget* focus() { return QApplication::focusWidget(); }
  // A key pressed where the focus is.
  static void key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
    settle();
  }

  // One user event delivered as the windows deliver it.
  void act(const std::function<void()>& handler) {
    frontEnd.gate().deliver(handler);
    settle();
  }

  // The window as it would appear on the screen now.
  QImage render(const ui::Form& form) {
    qt::FormWindow& w = window(form);
    w.flushRepaints();
    settle();
    return w.clientArea()->grab().toImage();
  }

  // What the window last put on the screen: its client area, as the screen shows it.
  QImage onScreen(const ui::Form& form) {
    qt::FormWindow& w = window(form);
    QWidget* client = w.clientArea();
    const QPoint at = client->mapTo(&w, QPoint(0, 0));
    return QApplication::primaryScreen()
        ->grabWindow(w.winId(), at.x(), at.y(), client->width(), client->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  // A screen as a person meets it: what each machine object a screen reader finds there
  // says, the colour drawn at the centre of each cell (its letter) and each button's caption.
  std::map<std::string, std::string> seen(ui::Form& form) {
    std::map<std::string, std::string> all;
    QAccessibleInterface* area = QAccessible::queryAccessibleInterface(window(form).clientArea());
    for (int i = 0; i < area->childCount(); ++i) {
      QAccessibleInterface* c = area->child(i);
      if (c->role() == QAccessible::Cell)
        all["reads " + c->text(QAccessible::Name).toStdString()] =
            c->text(QAccessible::Description).toStdString();
    }
    const QImage image = render(form);
    for (ui::Element* e : form.elements()) {
      if (e->kind() == ui::ElementKind::Shape && e->shownOnScreen())
        all["drawn " + e->name()] +=
            colourLetter(image.pixelColor(window(form).pixelRect(*e).center()));
      if (auto* b = qobject_cast<QPushButton*>(widget(*e)); b && b->isVisible())
        all["button " + e->name()] = b->text().toStdString() + (b->isEnabled() ? "" : " (dimmed)");
    }
    return all;
  }

  // Brings a window to the front and waits until it is active.
  void activate(QWidget& w) {
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    settle();
  }

  // The window's action for a key (F3, F4, ...).
  static QAction* actionFor(QWidget& w, const QKeySequence& key) {
    for (QAction* a : w.actions()) {
      if (a->shortcut() == key) return a;
    }
    ADD_FAILURE() << "no action for " << key.toString().toStdString();
    return nullptr;
  }

  void hideWelcome() {
    act([this] { app.initialScreen().onKeyPress('a'); });
  }
  void poke(std::initializer_list<std::pair<std::int16_t, const char*>> bytes) {
    for (const auto& [address, bits] : bytes) {
      act([&] { app.manual().Text_To_Memory_Byte(address, bits); });
    }
  }
  // Execute Program, then OK at the address the start panel offers.
  void startRun() {
    act([this] { input().Command_Execute_Program.click(); });
    act([this] { input().Command_OK_For_Start_Location.click(); });
  }
  // A mode chosen on the options panel.
  void clockMode(ui::OptionButton& mode) {
    act([this, &mode] {
      rexec().Command_Options.click();
      mode.click();
      rexec().Command_Options_Close.click();
    });
  }
  void manualRun() {
    startRun();
    clockMode(rexec().manual_radio);
  }
  void step(int phases = 1) {
    for (int i = 0; i < phases; ++i) act([this] { rexec().Command_Begin_Step.click(); });
  }
  // The options panel sets the clock to its fastest rate.
  void fullSpeed() {
    act([this] {
      rexec().Command_Options.click();
      rexec().time_scroll.setValue(1000);
      rexec().Command_Options_Close.click();
    });
  }
};

// Answers every message box that opens while it lives, noting its icon, whether it holds
// the whole program up, and what it shows.
class MessageBoxCloser {
 public:
  MessageBoxCloser() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      static const char* const icons[] = {"", "(i) ", "(!) ", "(x) ", "(?) "};
      seen.push_back(icons[box->icon()] + shows(*box) +
                     (box->windowModality() == Qt::ApplicationModal ? "" : "(not modal)\n"));
      // OK, or Don't Save to the question about an unsaved program.
      QAbstractButton* answer = box->button(QMessageBox::Ok);
      if (!answer) answer = box->button(QMessageBox::Discard);
      answer ? answer->click() : (void)box->close();
    });
    timer_.start();
  }
  std::vector<std::string> seen;

 private:
  QTimer timer_;
};

}  // namespace volpar::qttest
