// SPDX-License-Identifier: GPL-3.0-or-later
// The user's keys, clicks and window closing reach the program as a student's would.
#include <QLineEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextBrowser>

#include "bridge_fixture.h"
#include "qt/help_viewer.h"

namespace volpar::qttest {
namespace {

class Interaction : public BridgeFixture {
 protected:
  // A key on the welcome screen hands over to the input screen, in front and active.
  void onInputScreen() {
    activate(window(app.initialScreen()));
    QTest::keyClick(&window(app.initialScreen()), 'q');
    settle();
    ASSERT_FALSE(window(app.initialScreen()).isVisible());
    activate(window(input()));
  }
  void click(QWidget* target, QPoint at = {}) {
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    settle();
  }
  QLineEdit* edit(const ui::TextBox& box) { return qobject_cast<QLineEdit*>(widget(box)); }
};

// Typed bits reach the model and the cursor moves on; Tab follows the screen's order,
// passing over the hidden exec_text; any other key shows the message and puts back a
// selected "0", which the next key replaces. Enter presses Send to Memory, then the start
// panel's OK; Restart brings fresh windows.
TEST_F(Interaction, TypedKeysAndEnterReachTheInputScreen) {
  onInputScreen();
  ASSERT_EQ(focus(), widget(input().Input_Bit(1)));
  const std::string bits = "10100101";
  for (int i = 1, next = 2; i <= 8; ++i, next = i % 8 + 1) {
    key(bits[i - 1]);
    EXPECT_EQ(input().Input_Bit(i).Text(), std::string(1, bits[i - 1])) << "box " << i;
    EXPECT_TRUE(focus() == widget(input().Input_Bit(next)) &&
                edit(input().Input_Bit(next))->selectedText().size() == 1)
        << "after box " << i;
  }
  EXPECT_EQ(edit(input().Input_Memory_Address)->text(), "5");
  click(widget(input().memory_text));
  ASSERT_EQ(focus(), widget(input().memory_text));
  key(Qt::Key_Tab);  // along the drawing: the location, then its button
  EXPECT_EQ(focus(), widget(input().Command_Send_to_Memory));
  click(widget(input().Input_Bit(1)));
  EXPECT_TRUE(focus() == widget(input().Input_Bit(1)) &&
              input().focused() == &input().Input_Bit(1));

  MessageBoxCloser closer;
  key('2');
  EXPECT_EQ(closer.seen,
            std::vector<std::string>{
                "(i) VOLPAR -- INFORMATION 3\nYou may only input a 0 or a 1.\n[OK]\n"});
  EXPECT_TRUE(focus() == widget(input().Input_Bit(1)) &&
              edit(input().Input_Bit(1))->selectedText() == "0");
  key('1');  // replaces the selected "0"
  EXPECT_TRUE(input().Input_Bit(1).Text() == "1" && closer.seen.size() == 1u);

  key(Qt::Key_Return);
  EXPECT_EQ(input().Shape1(8).FillColor(), ui::kYellow);
  QPointer<qt::FormWindow> oldInput = &window(input());
  click(widget(input().Command_Execute_Program));
  ASSERT_TRUE(input().EXEC_FRAME.visible());
  key(Qt::Key_Enter);
  EXPECT_TRUE(window(rexec()).isVisible());

  QPointer<qt::FormWindow> oldRexec = &window(rexec());
  click(widget(input().Command_Restart));
  ASSERT_EQ(closer.seen.size(), 2u);  // the program typed above was never saved
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(oldInput.isNull() && oldRexec.isNull());
  EXPECT_TRUE(window(input()).isVisible() && !window(rexec()).isVisible());
}

// On the execution screen: with the focus on the speed bar, Right raises the rate towards
// "Fast" and Left lowers it, as the bar's arrow buttons do; Alt+B presses Begin; Alt+S
// presses whichever of the two buttons with that key is enabled; disabled buttons look
// disabled and ignore clicks; F1, which no menu offers here, opens the help at the
// screen's topic.
TEST_F(Interaction, ExecutionScreenKeys) {
  onInputScreen();
  startRun();
  activate(window(rexec()));
  act([this] { rexec().Command_Options.click(); });
  widget(rexec().time_scroll)->setFocus();
  key(Qt::Key_Right);
  EXPECT_EQ(rexec().Time_Hertz.Caption(), "11");
  key(Qt::Key_Left);
  EXPECT_EQ(rexec().Time_Hertz.Caption(), "1");
  act([this] { rexec().Command_Options_Close.click(); });

  QWidget* pause = widget(rexec().Command_Pause);
  click(pause);
  EXPECT_FALSE(pause->isEnabled() || app.manual().Pause_At_T0);

  QTest::keyClick(&window(rexec()), Qt::Key_B, Qt::AltModifier);
  settle(200);  // a button pressed by its access key clicks after a short animation
  EXPECT_TRUE(!widget(rexec().Command_Begin_Step)->isEnabled() && pause->isEnabled());

  act([this] {
    rexec().Timer1.setEnabled(false);
    rexec().Command_Resume.setEnabled(true);
  });
  ASSERT_FALSE(rexec().Command_Input_Window_OK.enabled());
  QTest::keyClick(&window(rexec()), Qt::Key_S, Qt::AltModifier);
  settle(200);
  EXPECT_TRUE(rexec().Timer1.enabled());
  act([this] { rexec().Timer1.setEnabled(false); });

  key(Qt::Key_F1);
  ASSERT_TRUE(platform.helpViewer() && platform.helpViewer()->isVisible());
  QTextBrowser* browser = platform.helpViewer()->browser();
  EXPECT_EQ(browser->cursorForPosition(QPoint(4, 4)).block().text(), "Execution screen");
  // The browser's topic is the page's alone; volpar-run is named for the teachers.
  const QString shown = browser->toPlainText();
  EXPECT_FALSE(shown.contains("web browser") || shown.contains("Ctrl+Alt+O"));
  EXPECT_TRUE(shown.contains("Checking and grading programs: volpar-run"));
  platform.helpViewer()->close();
  EXPECT_EQ(qt::desktopHelp("a<!-- browser -->b<!-- /browser -->c<!-- browser -->d<!-- /browser "
                            "-->e<!-- browser -->f"),
            "ace<!-- browser -->f");
}

// A click that gives a box the focus selects its "0", so that a typed 1 replaces it; a
// click into the box that has the focus places the caret as usual. When an INPUT waits,
// the decimal box has the focus with its text selected: the student types the value and
// presses Enter; in manual mode Step then has the focus, and the next Enter performs T7.
TEST_F(Interaction, AClickSelectsABoxsTextAndAnInputTakesTheValueTypedAndEnter) {
  onInputScreen();
  for (ui::TextBox* box : {&input().Input_Bit(2), &input().Input_Op_Code(0),
                           &input().Input_Memory_Address, &input().memory_text}) {
    click(widget(*box), widget(*box)->rect().center());
    EXPECT_TRUE(focus() == widget(*box) && edit(*box)->selectedText() == "0") << box->displayName();
    click(widget(*box), widget(*box)->rect().center());
    EXPECT_FALSE(edit(*box)->hasSelectedText()) << box->displayName();
  }
  poke({{0, "01100000"}, {1, "10100001"}});  // INPUT, then a branch to itself
  for (bool manual : {true, false}) {
    startRun();
    activate(window(rexec()));
    clockMode(manual ? rexec().manual_radio : rexec().automatic_radio);
    fullSpeed();
    step();
    ASSERT_TRUE(QTest::qWaitFor([this] {
      if (rexec().Command_Begin_Step.enabled()) act([this] { rexec().Command_Begin_Step.click(); });
      return rexec().Command_Input_Window_OK.enabled();
    }));
    settle(50);  // a frame
    ASSERT_TRUE(focus() == widget(rexec().Text_Input_Decimal) &&
                edit(rexec().Text_Input_Decimal)->selectedText() == "0")
        << manual;
    key('7');
    key(Qt::Key_Return);
    if (manual) {
      EXPECT_EQ(focus(), widget(rexec().Command_Begin_Step));
      key(Qt::Key_Return);
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return rexec().Register_S_Decimal.Caption() == "7"; }))
        << manual;
    act([this] {
      rexec().Timer1.setEnabled(false);
      rexec().Command_Return_to_Input.setEnabled(true);
      rexec().Command_Return_to_Input.click();
      rexec().Text_Input_Decimal.setText("0");
    });
  }
}

// The welcome screen opens with no box holding the focus (no caret, no focus frame); a
// click on its notice discards the screen and leaves the focus in the first bit box.
TEST_F(Interaction, AClickOnTheNoticeHandsOver) {
  QPointer<qt::FormWindow> welcome = &window(app.initialScreen());
  activate(*welcome);
  QWidget* notice = widget(app.initialScreen().Address);
  EXPECT_FALSE(widget(app.initialScreen().Version)->hasFocus() || notice->hasFocus());
  QWidget* target = notice->findChild<QWidget*>("qt_scrollarea_viewport");
  click(target ? target : notice);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(welcome.isNull() && window(input()).isVisible());
  EXPECT_TRUE(input().focused() == &input().Input_Bit(1) && input().Input_Bit(1).SelLength() == 1);
}

// Closing the welcome window only hides it; closing the input (or the execution) window
// ends the program.
TEST_F(BridgeFixture, ClosingAWindowEndsTheProgramUnlessItIsTheWelcomeScreen) {
  window(app.initialScreen()).close();
  settle();
  ASSERT_TRUE(endRequests == 0 && window(input()).isVisible());
  window(input()).close();
  settle();
  EXPECT_EQ(endRequests, 1);
}

}  // namespace
}  // namespace volpar::qttest
