// The user's keys, clicks and window closing reach the program as a student's would.
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

class Interaction : public BridgeFixture {
 protected:
  // The input screen in front and active, as after a key on the welcome screen.
  void onInputScreen() {
    hideWelcome();
    activate(input());
  }
  void activate(const ui::Form& form) {
    qt::FormWindow& w = window(form);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w)) << form.name();
    settle();
  }
  QWidget* focus() { return QApplication::focusWidget(); }
  void typeKey(char key) {
    ASSERT_NE(focus(), nullptr);
    QTest::keyClick(focus(), key);
    settle();
  }
  QLineEdit* edit(const ui::TextBox& box) { return qobject_cast<QLineEdit*>(widget(box)); }
};

TEST_F(Interaction, TypedBitsReachTheModelAndTheCursorMovesOn) {
  onInputScreen();
  ASSERT_EQ(focus(), widget(input().Input_Bit(1)));
  const std::string bits = "10100101";
  for (int i = 1; i <= 8; ++i) {
    typeKey(bits[i - 1]);
    EXPECT_EQ(input().Input_Bit(i).Text(), std::string(1, bits[i - 1])) << "box " << i;
    EXPECT_EQ(edit(input().Input_Bit(i))->text(), QString(bits[i - 1])) << "box " << i;
    const int next = i % 8 + 1;
    EXPECT_EQ(focus(), widget(input().Input_Bit(next))) << "after box " << i;
    EXPECT_EQ(input().focused(), &input().Input_Bit(next));
    EXPECT_EQ(edit(input().Input_Bit(next))->selectedText().size(), 1) << "after box " << i;
  }
  EXPECT_EQ(input().Input_Op_Code(0).Text(), "5");
  EXPECT_EQ(input().Input_Memory_Address.Text(), "5");
  EXPECT_EQ(edit(input().Input_Memory_Address)->text(), "5");
}

TEST_F(Interaction, InvalidKeyShowsTheMessageAndPutsBackASelectedZero) {
  onInputScreen();
  MessageBoxCloser closer;
  typeKey('2');
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_EQ(closer.seen[0].title, "VOLPAR -- INFORMATION 3");
  EXPECT_EQ(closer.seen[0].text, "You may only input a 0 or a 1.");
  EXPECT_EQ(closer.seen[0].icon, QMessageBox::Information);
  EXPECT_EQ(closer.seen[0].buttons, 1);
  EXPECT_EQ(input().Input_Bit(1).Text(), "0");
  EXPECT_EQ(edit(input().Input_Bit(1))->text(), "0");
  EXPECT_EQ(focus(), widget(input().Input_Bit(1)));
  EXPECT_EQ(edit(input().Input_Bit(1))->selectedText(), "0");
  // The next key replaces the selected "0", as the student expects.
  typeKey('1');
  EXPECT_EQ(input().Input_Bit(1).Text(), "1");
  EXPECT_EQ(closer.seen.size(), 1u);
}

TEST_F(Interaction, EnterPressesTheDefaultButton) {
  onInputScreen();
  for (char bit : std::string("10000001")) typeKey(bit);
  QTest::keyClick(focus(), Qt::Key_Return);
  settle();
  EXPECT_EQ(input().Shape1(1).FillColor(), ui::kYellow);
  EXPECT_EQ(input().Shape1(8).FillColor(), ui::kYellow);
  EXPECT_EQ(input().memory_text.Text(), "1");
  // While the start panel is open, Enter is its OK and starts the run.
  QTest::mouseClick(widget(input().Command_Execute_Program), Qt::LeftButton);
  settle();
  ASSERT_TRUE(input().EXEC_FRAME.visible());
  QTest::keyClick(focus(), Qt::Key_Enter);
  settle();
  EXPECT_TRUE(rexec().Visible());
  EXPECT_TRUE(window(rexec()).isVisible());
  EXPECT_EQ(rexec().Shape_Clock(0).FillColor(), ui::kCyan);
}

TEST_F(Interaction, AltBPressesBegin) {
  onInputScreen();
  act([this] { input().Command_Execute_Program.click(); });
  act([this] { input().Command_OK_For_Start_Location.click(); });
  activate(rexec());
  QTest::keyClick(&window(rexec()), Qt::Key_B, Qt::AltModifier);
  settle(200);  // a button pressed by its access key clicks after a short animation
  EXPECT_FALSE(rexec().Command_Begin_Step.enabled());
  EXPECT_TRUE(rexec().Command_Pause.enabled());
  EXPECT_TRUE(rexec().Timer1.enabled());
  EXPECT_FALSE(widget(rexec().Command_Begin_Step)->isEnabled());
  act([this] { rexec().Timer1.setEnabled(false); });
}

TEST_F(Interaction, DisabledButtonsLookDisabledAndIgnoreClicks) {
  onInputScreen();
  act([this] { input().Command_Execute_Program.click(); });
  act([this] { input().Command_OK_For_Start_Location.click(); });
  QWidget* pause = widget(rexec().Command_Pause);
  ASSERT_FALSE(rexec().Command_Pause.enabled());
  EXPECT_FALSE(pause->isEnabled());
  QTest::mouseClick(pause, Qt::LeftButton);
  settle();
  EXPECT_FALSE(app.manual().Pause_At_T0);
}

TEST_F(Interaction, AKeyOrAClickOnTheWelcomeScreenHandsOver) {
  activate(app.initialScreen());
  QTest::keyClick(&window(app.initialScreen()), 'q');
  settle();
  EXPECT_FALSE(window(app.initialScreen()).isVisible());
  EXPECT_TRUE(window(input()).isVisible());
}

TEST_F(Interaction, ClickOnTheWelcomeTextLeavesTheFocusInTheFirstBitBox) {
  qt::FormWindow& welcome = window(app.initialScreen());
  const QRect text = welcome.pixelRect(app.initialScreen().Label_Welcome);
  QTest::mouseClick(welcome.clientArea(), Qt::LeftButton, {}, text.topLeft() + QPoint(20, 10));
  settle();
  EXPECT_FALSE(app.initialScreen().Visible());
  EXPECT_EQ(input().focused(), &input().Input_Bit(1));
  EXPECT_EQ(input().Input_Bit(1).SelLength(), 1);
}

TEST_F(Interaction, ClosingTheInputOrExecutionWindowEndsTheProgram) {
  hideWelcome();
  window(rexec()).close();
  settle();
  EXPECT_EQ(endRequests, 1);
  EXPECT_TRUE(app.programEnded());
}

TEST_F(Interaction, ClosingTheInputWindowEndsTheProgram) {
  hideWelcome();
  window(input()).close();
  settle();
  EXPECT_EQ(endRequests, 1);
}

TEST_F(Interaction, ClosingTheWelcomeWindowOnlyHidesIt) {
  window(app.initialScreen()).close();
  settle();
  EXPECT_EQ(endRequests, 0);
  EXPECT_FALSE(app.initialScreen().Visible());
  EXPECT_TRUE(window(input()).isVisible());
}

TEST_F(Interaction, RestartReplacesBothWindowsWithFreshOnes) {
  onInputScreen();
  for (char bit : std::string("11111111")) typeKey(bit);
  QTest::keyClick(focus(), Qt::Key_Return);
  settle();
  QPointer<qt::FormWindow> oldInput = &window(input());
  QPointer<qt::FormWindow> oldRexec = &window(rexec());
  QTest::mouseClick(widget(input().Command_Restart), Qt::LeftButton);
  settle();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(oldInput.isNull());
  EXPECT_TRUE(oldRexec.isNull());
  ASSERT_NE(app.existingDerazoInput(), nullptr);
  EXPECT_TRUE(window(input()).isVisible());
  EXPECT_FALSE(window(rexec()).isVisible());
  EXPECT_EQ(input().Shape1(1).FillColor(), ui::kWhite);
  EXPECT_EQ(render(input()).pixelColor(window(input()).pixelRect(input().Shape1(1)).center()),
            QColor(255, 255, 255));
}

TEST_F(Interaction, AltSPressesWhicheverResumeIsEnabled) {
  onInputScreen();
  act([this] { input().Command_Execute_Program.click(); });
  act([this] { input().Command_OK_For_Start_Location.click(); });
  activate(rexec());
  // The run control's Resume and the input window's button share the access key S; only
  // the enabled one answers.
  act([this] { rexec().Command_Resume.setEnabled(true); });
  ASSERT_FALSE(rexec().Command_Input_Window_OK.enabled());
  QTest::keyClick(&window(rexec()), Qt::Key_S, Qt::AltModifier);
  settle(200);
  EXPECT_FALSE(rexec().Command_Resume.enabled());
  EXPECT_TRUE(rexec().Timer1.enabled());
  act([this] { rexec().Timer1.setEnabled(false); });
}

TEST_F(Interaction, OptionsPanelWorksWithTheMouse) {
  hideWelcome();
  act([this] { input().Command_Execute_Program.click(); });
  act([this] { input().Command_OK_For_Start_Location.click(); });
  QTest::mouseClick(widget(rexec().Command_Options), Qt::LeftButton);
  settle();
  auto* manual = qobject_cast<QRadioButton*>(widget(rexec().manual_radio));
  auto* automatic = qobject_cast<QRadioButton*>(widget(rexec().automatic_radio));
  auto* speed = qobject_cast<QScrollBar*>(widget(rexec().time_scroll));
  ASSERT_TRUE(manual && automatic && speed);
  QTest::mouseClick(manual, Qt::LeftButton, {}, QPoint(8, manual->height() / 2));
  settle();
  EXPECT_TRUE(rexec().manual_radio.Value());
  EXPECT_FALSE(automatic->isChecked());
  EXPECT_FALSE(speed->isEnabled());  // manual mode: the speed is shown but disabled
  QTest::mouseClick(automatic, Qt::LeftButton, {}, QPoint(8, automatic->height() / 2));
  settle();
  EXPECT_TRUE(rexec().automatic_radio.Value());
  EXPECT_FALSE(manual->isChecked());
  ASSERT_TRUE(speed->isEnabled());
  speed->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click beside the handle
  settle();
  EXPECT_EQ(rexec().time_scroll.Value(), 11);
  EXPECT_EQ(rexec().Time_Hertz.Caption(), "11");
  EXPECT_EQ(rexec().Timer1.Interval(), 90);
}

TEST_F(Interaction, TabFollowsTheInputScreensOrder) {
  onInputScreen();
  QTest::mouseClick(widget(input().memory_text), Qt::LeftButton);
  settle();
  ASSERT_EQ(focus(), widget(input().memory_text));
  // exec_text is hidden and passed over.
  const std::vector<ui::Element*> expected = {&input().Input_Bit(1), &input().Input_Bit(2)};
  for (ui::Element* e : expected) {
    QTest::keyClick(focus(), Qt::Key_Tab);
    settle();
    EXPECT_EQ(focus(), widget(*e)) << e->displayName();
    EXPECT_EQ(input().focused(), e);
  }
}

TEST_F(Interaction, AClickOnTheNoticeDiscardsTheWelcomeScreen) {
  QPointer<qt::FormWindow> welcome = &window(app.initialScreen());
  QWidget* notice = widget(app.initialScreen().Address);
  ASSERT_NE(notice, nullptr);
  QWidget* target = notice->findChild<QWidget*>("qt_scrollarea_viewport");
  QTest::mouseClick(target ? target : notice, Qt::LeftButton);
  settle();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(app.existingInitialScreen(), nullptr);
  EXPECT_TRUE(welcome.isNull());
  EXPECT_TRUE(window(input()).isVisible());
}

// Menu shortcuts, also while a text box has the focus (Ctrl+X is not the box's cut).
class MenuKeys : public FakeBridgeFixture {};

TEST_F(MenuKeys, ShortcutsOpenSaveHelpAndExit) {
  hideWelcome();
  qt::FormWindow& w = window(input());
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  ASSERT_EQ(QApplication::focusWidget(), widget(input().Input_Bit(1)));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
  settle();
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_FALSE(platform.dialogs[0].save);
  EXPECT_EQ(platform.dialogs[0].filter, "Text file (*.txt)|*.txt");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
  settle();
  ASSERT_EQ(platform.dialogs.size(), 2u);
  EXPECT_TRUE(platform.dialogs[1].save);
  EXPECT_EQ(platform.dialogs[1].flags, 2050);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  settle();
  ASSERT_EQ(platform.helpShown.size(), 1u);
  EXPECT_EQ(platform.helpShown[0], std::make_pair(std::string("Vuvuva.zev"), 1));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
  settle();
  EXPECT_EQ(platform.endRequests, 1);
  EXPECT_EQ(input().Input_Bit(1).Text(), "0");
}

}  // namespace
}  // namespace volpar::qttest
