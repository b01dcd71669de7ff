// SPDX-License-Identifier: GPL-3.0-or-later
// A clock at 1000 Hz changes the model at every phase and the windows once a frame: after
// a run the widgets and the screen show exactly the model, and a message box raised inside
// a tick finds the windows behind it up to date.
#include <QLineEdit>
#include <QPushButton>

#include "bridge_fixture.h"
#include "machine/REXEC_Manual.h"
#include "qt/form_window.h"

namespace volpar::qttest {
namespace {

class FullSpeed : public BridgeFixture {
 protected:
  // LOAD 31, ADD 30, STORE 31, BRANCH 0 with 1 at address 30, at 1000 Hz.
  FullSpeed() {
    hideWelcome();
    poke({{0, "00111111"}, {1, "00011110"}, {2, "01011111"}, {3, "10100000"}, {30, "00000001"}});
    startRun();
    fullSpeed();
    auto phase = rexec().Timer1.onTimer;
    rexec().Timer1.onTimer = [this, phase] {
      ++phases;
      phase();
      if (!rexec().Timer1.enabled() && onStop) onStop();
    };
  }

  // Each control shows its element's Enabled and Visible (with the frames around it),
  // caption and character limit.
  void expectControlsShowModel(const ui::Form& form) {
    for (ui::Element* e : form.elements()) {
      QWidget* w = widget(*e);
      if (!w) continue;
      SCOPED_TRACE(e->displayName());
      bool enabled = true, visible = true;
      for (const ui::Element* c = e; c; c = c->container()) {
        enabled = enabled && c->enabled();
        visible = visible && c->visible();
      }
      EXPECT_EQ(w->isEnabled(), enabled);
      EXPECT_EQ(w->isVisibleTo(window(form).clientArea()), visible);
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const int limit = static_cast<ui::TextBox*>(e)->MaxLength();
        EXPECT_EQ(edit->maxLength(), limit > 0 ? limit : 32767);
      }
      if (auto* button = qobject_cast<QPushButton*>(w)) {
        EXPECT_EQ(button->text().toStdString(), static_cast<ui::CommandButton*>(e)->Caption());
      }
    }
  }

  // What the window last put on the screen is what it draws from the model now.
  void expectScreenShowsModel(const ui::Form& form) {
    const QImage drawn =
        window(form).clientArea()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(onScreen(form) == drawn) << form.name();
  }

  int phases = 0;
  std::function<void()> onStop;
};

// The tick that stops the clock at T0 enables Resume and disables Pause, then raises a
// box, which finds the windows behind it up to date. After the run the widgets and the
// screen show the model. Repaints come in small pieces (a cell, a register's caption): the
// window and its frames repainted piece by piece must look as when drawn whole, borders
// and captions included.
TEST_F(FullSpeed, ARunIsShownExactlyAtEveryStop) {
  bool checked = false;
  onStop = [this, &checked] {
    QTimer::singleShot(0, [this, &checked] {
      expectControlsShowModel(rexec());
      checked = true;
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    platform.MsgBox("Paused", "VOLPAR");
  };
  // A few hundred phases, then Pause; on once the clock stopped.
  step();
  while (phases < 300) settle(5);
  act([this] { rexec().Command_Pause.click(); });
  while (rexec().Timer1.enabled()) settle(5);
  EXPECT_TRUE(checked);
  settle(3 * qt::FormWindow::kFrameMs);
  for (const ui::Form* form : std::initializer_list<const ui::Form*>{&rexec(), &input()}) {
    expectControlsShowModel(*form);
    expectScreenShowsModel(*form);
    std::vector<QWidget*> surfaces{window(*form).clientArea()};
    for (const ui::Element* e : form->elements()) {
      if (e->kind() == ui::ElementKind::Frame && widget(*e)->isVisible())
        surfaces.push_back(widget(*e));
    }
    for (QWidget* surface : surfaces) {
      for (int y = 0; y < surface->height(); y += 9) {
        for (int x = 0; x < surface->width(); x += 9) surface->repaint(x, y, 9, 9);
      }
    }
    expectScreenShowsModel(*form);
  }
}

}  // namespace
}  // namespace volpar::qttest
