// The user's keys, clicks and window closing reach the program as a student's would.
#include <QLineEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextBrowser>

#include "bridge_fixture.h"
#include "ui/qt/help_viewer.h"

namespace volpar::qttest {
namespace {

class Interaction : public BridgeFixture {
 protected:
  // A key on the welcome screen hands over to the input screen, in front and active.
  void onInputScreen() {
    activate(app.initialScreen());
    QTest::keyClick(&window(app.initialScreen()), 'q');
    settle();
    ASSERT_FALSE(window(app.initialScreen()).isVisible());
    activate(input());
  }
  // Execute Program and OK at the start address 0: the execution screen, active.
  void onExecutionScreen() {
    onInputScreen();
    act([this] { input().Command_Execute_Program.click(); });
    act([this] { input().Command_OK_For_Start_Location.click(); });
    activate(rexec());
  }
  void activate(const ui::Form& form) {
    qt::FormWindow& w = window(form);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << form.name();
    settle();
  }
  QWidget* focus() { return QApplication::focusWidget(); }
  void key(int key, Qt::KeyboardModifiers modifiers = {}) {
    ASSERT_NE(focus(), nullptr);
    QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
    settle();
  }
  void click(QWidget* target, QPoint at = {}) {
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    settle();
  }
  QLineEdit* edit(const ui::TextBox& box) { return qobject_cast<QLineEdit*>(widget(box)); }
};

TEST_F(Interaction, TypedBitsReachTheModelAndTheCursorMovesOn) {
  onInputScreen();
  ASSERT_EQ(focus(), widget(input().Input_Bit(1)));
  const std::string bits = "10100101";
  for (int i = 1; i <= 8; ++i) {
    key(bits[i - 1]);
    EXPECT_EQ(input().Input_Bit(i).Text(), std::string(1, bits[i - 1])) << "box " << i;
    const int next = i % 8 + 1;
    EXPECT_EQ(focus(), widget(input().Input_Bit(next))) << "after box " << i;
    EXPECT_EQ(input().focused(), &input().Input_Bit(next));
    EXPECT_EQ(edit(input().Input_Bit(next))->selectedText().size(), 1) << "after box " << i;
  }
  EXPECT_EQ(edit(input().Input_Memory_Address)->text(), "5");
  // Tab follows the screen's order, passing over the hidden exec_text.
  click(widget(input().memory_text));
  ASSERT_EQ(focus(), widget(input().memory_text));
  key(Qt::Key_Tab);
  EXPECT_EQ(focus(), widget(input().Input_Bit(1)));
  EXPECT_EQ(input().focused(), &input().Input_Bit(1));
}

TEST_F(Interaction, InvalidKeyShowsTheMessageAndPutsBackASelectedZero) {
  onInputScreen();
  MessageBoxCloser closer;
  key('2');
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_EQ(closer.seen[0].title, "VOLPAR -- INFORMATION 3");
  EXPECT_EQ(closer.seen[0].text, "You may only input a 0 or a 1.");
  EXPECT_EQ(closer.seen[0].icon, QMessageBox::Information);
  EXPECT_EQ(closer.seen[0].buttons, 1);
  EXPECT_TRUE(closer.seen[0].applicationModal);
  EXPECT_EQ(input().Input_Bit(1).Text(), "0");
  EXPECT_EQ(focus(), widget(input().Input_Bit(1)));
  EXPECT_EQ(edit(input().Input_Bit(1))->selectedText(), "0");
  key('1');  // replaces the selected "0"
  EXPECT_EQ(input().Input_Bit(1).Text(), "1");
  EXPECT_EQ(closer.seen.size(), 1u);
}

// Enter presses Send to Memory, then the start panel's OK; Restart brings fresh windows.
TEST_F(Interaction, EnterPressesTheDefaultButton) {
  onInputScreen();
  for (char bit : std::string("10000001")) key(bit);
  key(Qt::Key_Return);
  EXPECT_EQ(input().Shape1(8).FillColor(), ui::kYellow);
  EXPECT_EQ(input().memory_text.Text(), "1");
  QPointer<qt::FormWindow> oldInput = &window(input());
  click(widget(input().Command_Execute_Program));
  ASSERT_TRUE(input().EXEC_FRAME.visible());
  key(Qt::Key_Enter);
  EXPECT_TRUE(window(rexec()).isVisible());
  EXPECT_EQ(rexec().Shape_Clock(0).FillColor(), ui::kCyan);

  QPointer<qt::FormWindow> oldRexec = &window(rexec());
  MessageBoxCloser closer;  // the program typed above was never saved
  click(widget(input().Command_Restart));
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_EQ(closer.seen[0].text, "Save the program in memory before restarting?");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(oldInput.isNull());
  EXPECT_TRUE(oldRexec.isNull());
  EXPECT_TRUE(window(input()).isVisible());
  EXPECT_FALSE(window(rexec()).isVisible());
}

// Alt+B presses Begin; Alt+S presses whichever of the two buttons with that key is enabled;
// disabled buttons look disabled and ignore clicks.
TEST_F(Interaction, AccessKeysPressTheRunControls) {
  onExecutionScreen();
  QWidget* pause = widget(rexec().Command_Pause);
  EXPECT_FALSE(pause->isEnabled());
  click(pause);
  EXPECT_FALSE(app.manual().Pause_At_T0);

  QTest::keyClick(&window(rexec()), Qt::Key_B, Qt::AltModifier);
  settle(200);  // a button pressed by its access key clicks after a short animation
  EXPECT_FALSE(widget(rexec().Command_Begin_Step)->isEnabled());
  EXPECT_TRUE(pause->isEnabled());
  EXPECT_TRUE(rexec().Timer1.enabled());

  act([this] {
    rexec().Timer1.setEnabled(false);
    rexec().Command_Resume.setEnabled(true);
  });
  ASSERT_FALSE(rexec().Command_Input_Window_OK.enabled());
  QTest::keyClick(&window(rexec()), Qt::Key_S, Qt::AltModifier);
  settle(200);
  EXPECT_FALSE(rexec().Command_Resume.enabled());
  EXPECT_TRUE(rexec().Timer1.enabled());
  act([this] { rexec().Timer1.setEnabled(false); });
}

// With the focus on the speed bar, Right raises the rate towards "Fast" and Left lowers it,
// as the bar's arrow buttons do.
TEST_F(Interaction, SpeedBarArrowKeysMoveAsItsArrowButtons) {
  onExecutionScreen();
  act([this] { rexec().Command_Options.click(); });
  widget(rexec().time_scroll)->setFocus();
  key(Qt::Key_Right);
  EXPECT_EQ(rexec().Time_Hertz.Caption(), "11");
  key(Qt::Key_Left);
  EXPECT_EQ(rexec().Time_Hertz.Caption(), "1");
}

// A click that gives a box the focus selects its "0", so that a typed 1 replaces it; a
// click into the box that has the focus places the caret as usual.
TEST_F(Interaction, AClickIntoABoxSelectsItsText) {
  onInputScreen();
  auto clickTwice = [this](ui::TextBox& box) {
    activate(box.form());
    click(widget(box), widget(box)->rect().center());
    ASSERT_EQ(focus(), widget(box)) << box.displayName();
    EXPECT_EQ(edit(box)->selectedText(), "0") << box.displayName();
    click(widget(box), widget(box)->rect().center());
    EXPECT_FALSE(edit(box)->hasSelectedText()) << box.displayName();
  };
  act([this] { input().Command_Execute_Program.click(); });
  for (ui::TextBox* box : {&input().Input_Bit(2), &input().Input_Op_Code(0),
                           &input().Input_Memory_Address, &input().memory_text, &input().exec_text})
    clickTwice(*box);
  act([this] {
    input().Command_OK_For_Start_Location.click();
    rexec().Input_Window.setEnabled(true);  // as an INPUT leaves it
    rexec().Input_bit(3).setEnabled(true);
  });
  for (ui::TextBox* box : {&rexec().Input_bit(3), &rexec().Text_Input_Decimal}) clickTwice(*box);
}

// When an INPUT waits, the decimal box has the focus with its text selected: the student
// types the value and presses Enter; in manual mode Step then has the focus, and the next
// Enter performs T7.
TEST_F(Interaction, AnInputTakesTheValueTypedAndEnter) {
  onInputScreen();
  for (const std::string byte : {"01100000", "10100001"}) {  // INPUT, then a branch to itself
    for (char bit : byte) key(bit);
    key(Qt::Key_Return);
  }
  for (bool manual : {true, false}) {
    act([this] { input().Command_Execute_Program.click(); });
    act([this] { input().Command_OK_For_Start_Location.click(); });
    activate(rexec());
    act([this, manual] {
      rexec().Command_Options.click();
      (manual ? rexec().manual_radio : rexec().automatic_radio).click();
      rexec().time_scroll.setValue(1000);
      rexec().Command_Options_Close.click();
      rexec().Command_Begin_Step.click();
    });
    ASSERT_TRUE(QTest::qWaitFor([this] {
      if (rexec().Command_Begin_Step.enabled()) act([this] { rexec().Command_Begin_Step.click(); });
      return rexec().Command_Input_Window_OK.enabled();
    }));
    settle(50);  // a frame
    ASSERT_EQ(focus(), widget(rexec().Text_Input_Decimal)) << manual;
    EXPECT_EQ(edit(rexec().Text_Input_Decimal)->selectedText(), "0");
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

// F1 on the execution screen, which has no menu, opens the help at that screen's topic.
TEST_F(Interaction, F1OnTheExecutionScreenOpensTheHelpAtItsTopic) {
  onExecutionScreen();
  QTest::keyClick(focus(), Qt::Key_F1);
  settle();
  ASSERT_NE(platform.helpViewer(), nullptr);
  EXPECT_TRUE(platform.helpViewer()->isVisible());
  QTextBrowser* browser = platform.helpViewer()->browser();
  EXPECT_EQ(browser->cursorForPosition(QPoint(4, 4)).block().text(), "Execution screen");
  platform.helpViewer()->close();
}

// A click on the welcome screen's notice discards the screen and leaves the focus in
// the first bit box.
TEST_F(Interaction, AClickOnTheNoticeHandsOver) {
  QPointer<qt::FormWindow> welcome = &window(app.initialScreen());
  QWidget* notice = widget(app.initialScreen().Address);
  ASSERT_NE(notice, nullptr);
  QWidget* target = notice->findChild<QWidget*>("qt_scrollarea_viewport");
  click(target ? target : notice);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(welcome.isNull());
  EXPECT_TRUE(window(input()).isVisible());
  EXPECT_EQ(input().focused(), &input().Input_Bit(1));
  EXPECT_EQ(input().Input_Bit(1).SelLength(), 1);
}

// Closing the welcome window only hides it; closing the input (or the execution) window
// ends the program.
TEST_F(BridgeFixture, ClosingAWindowEndsTheProgramUnlessItIsTheWelcomeScreen) {
  window(app.initialScreen()).close();
  settle();
  EXPECT_EQ(endRequests, 0);
  ASSERT_TRUE(window(input()).isVisible());
  window(input()).close();
  settle();
  EXPECT_EQ(endRequests, 1);
  EXPECT_TRUE(app.programEnded());
}

}  // namespace
}  // namespace volpar::qttest
