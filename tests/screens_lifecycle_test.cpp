#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// Records when screens are created and destroyed, and fails if one is destroyed while
// an event is still running on it.
struct LifecycleWatch : ScreensObserver {
  bool inEvent = false;
  std::vector<std::string> log;
  void formCreated(ui::Form& form) override { log.push_back("+" + form.name()); }
  void formDestroyed(ui::Form& form) override {
    EXPECT_FALSE(inEvent) << form.name() << " destroyed under a running handler";
    log.push_back("-" + form.name());
  }
};

class Lifecycle : public ScreensFixture {
 protected:
  LifecycleWatch watch;
  Lifecycle() { app.setObserver(&watch); }
  ~Lifecycle() override { app.setObserver(nullptr); }

  // One event, the retired screens destroyed only after it.
  void event(const std::function<void()>& action) {
    watch.inEvent = true;
    action();
    watch.inEvent = false;
    app.collectRetired();
  }
  void prepareARunningMachine() {
    typeBits("00100001");
    sendTo(0);
    startAt(0);
    step();
    tick();
    tick();
  }
  void expectFreshScreens() {
    DERAZO_Input& in = input();
    for (int a = 0; a < 32; ++a) ASSERT_EQ(memoryBits(a), "00000000") << a;
    for (ui::TextBox* box :
         {&in.Input_Op_Code(0), &in.Input_Memory_Address, &in.memory_text, &in.exec_text}) {
      EXPECT_EQ(box->Text(), "0") << box->name();
    }
    EXPECT_EQ(entryBits(), "00000000");
    EXPECT_TRUE(in.Visible() && !in.EXEC_FRAME.visible());
    EXPECT_EQ(focusedName(in), "Input_Bit(1)");
    REXEC& r = rexec();
    EXPECT_FALSE(r.Visible() || r.Timer1.enabled());
    EXPECT_EQ(r.Register_PC_Decimal.Caption(), "");
    EXPECT_EQ(r.Command_Begin_Step.Caption(), "&Begin");
    EXPECT_EQ(clockCells(), "00000000");
    EXPECT_TRUE(r.automatic_radio.Value());
    EXPECT_FALSE(app.programEnded());
  }
};

// Restart on either screen finishes its handler on the old screens, then starts afresh;
// the module variables keep their values until execution starts again.
TEST_F(Lifecycle, RestartDiscardsBothScreensAfterTheEvent) {
  for (const bool fromInputScreen : {false, true}) {
    prepareARunningMachine();
    if (fromInputScreen) click(rexec().Command_View_Memory);
    REXEC* oldRexec = &rexec();
    DERAZO_Input* oldInput = &input();
    watch.log.clear();
    event([&] {
      fromInputScreen ? oldInput->Command_Restart.click() : oldRexec->Command_Restart.click();
      EXPECT_FALSE(oldRexec->Timer1.enabled()) << "the discarded clock stops at once";
    });
    EXPECT_EQ(watch.log,
              (std::vector<std::string>{"+DERAZO_Input", "+REXEC", "-DERAZO_Input", "-REXEC"}));
    expectFreshScreens();
    EXPECT_NE(app.existingInitialScreen(), nullptr) << "the welcome screen is not touched";
    EXPECT_EQ(manual().Clock_Phase, 3) << "module variables keep their values";
    tick();  // the new clock is stopped: nothing happens
    EXPECT_EQ(manual().Clock_Phase, 3);
  }
  event([&] {  // twice in one event, from both screens
    rexec().Command_Restart.click();
    rexec().Command_Restart.click();
    input().Command_Restart.click();
  });
  expectFreshScreens();
  startAt(0);  // and the new machine runs
  click(rexec().Command_One_instruction);
  EXPECT_EQ(tickUntilStopped(), 8);
  EXPECT_EQ(rexec().SHAPEID(1).FillColor(), ui::kGreen) << "the new memory is all ADD 0";
}

// Quit, File > Exit or closing either window ends the program at once, even mid-run.
class ProgramEnd : public Lifecycle, public ::testing::WithParamInterface<int> {};

TEST_P(ProgramEnd, EndsTheProgramAtOnceWhileTheClockRuns) {
  prepareARunningMachine();
  const std::vector<std::function<void()>> ways{
      [&] { rexec().Command_Quit.click(); }, [&] { rexec().requestClose(); },
      [&] { input().Command_quit.click(); }, [&] { input().requestClose(); },
      [&] { input().exit_menu.click(); }};
  event(ways[static_cast<std::size_t>(GetParam())]);
  EXPECT_EQ(platform.endRequests, 1);
  EXPECT_TRUE(app.programEnded());
  EXPECT_TRUE(platform.messages.empty()) << "no question is asked";
  EXPECT_TRUE(platform.dialogs.empty()) << "nothing is saved";
  EXPECT_EQ(memoryBits(0), "00100001");
}

INSTANTIATE_TEST_SUITE_P(QuitCloseOrExit, ProgramEnd, ::testing::Range(0, 5));

// --- The welcome screen ---------------------------------------------------------------

TEST(Welcome, VersionTextComesFromTheProgramsOwnVersionNumbers) {
  FakePlatform platform;
  platform.programVersion = {2, 13, 0};
  Application app(platform);
  app.start();
  EXPECT_EQ(app.initialScreen().Version.Text(), "Version 2.13.0");
}

class HandOver : public Lifecycle, public ::testing::WithParamInterface<int> {};

// A key, a mouse button, the any-key text and the version box keep the input screen's
// focus; the background and the welcome text put it on the first bit box.
TEST_P(HandOver, BringsTheInputScreenToTheFrontAndHidesTheWelcomeScreen) {
  Initial_Screen& w = welcome();
  const std::vector<std::function<void()>> ways{
      [&] { w.onKeyPress(' '); }, [&] { w.onMouseDown(); }, [&] { w.Label_Any_key.click(); },
      [&] { w.Version.click(); }, [&] { w.onClick(); },     [&] { w.Label_Welcome.click(); }};
  input().Input_Bit(3).SetFocus();
  event(ways[static_cast<std::size_t>(GetParam())]);
  EXPECT_TRUE(input().Visible());
  ASSERT_NE(app.existingInitialScreen(), nullptr) << "hidden, not discarded";
  EXPECT_FALSE(welcome().Visible());
  const bool toFirstBox = GetParam() >= 4;
  EXPECT_EQ(focusedName(input()), toFirstBox ? "Input_Bit(1)" : "Input_Bit(3)");
  if (toFirstBox) {
    EXPECT_EQ(input().Input_Bit(1).SelLength(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(KeyOrClick, HandOver, ::testing::Range(0, 6));

TEST_F(Lifecycle, ClickOnTheNoticeDiscardsTheWelcomeScreenButTheProgramGoesOn) {
  watch.log.clear();
  event([&] { welcome().Address.click(); });
  EXPECT_EQ(watch.log, std::vector<std::string>{"-Initial_Screen"});
  EXPECT_EQ(app.existingInitialScreen(), nullptr);
  EXPECT_TRUE(input().Visible());
  EXPECT_FALSE(app.programEnded());
}

}  // namespace
}  // namespace volpar::testing
