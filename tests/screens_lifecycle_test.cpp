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

  void expectFreshScreens() {
    DERAZO_Input& in = input();
    EXPECT_TRUE(in.Visible());
    for (int c = 1; c <= 256; ++c) ASSERT_EQ(in.Shape1(c).FillColor(), ui::kWhite) << c;
    for (ui::TextBox* box : {&in.Input_Op_Code(0), &in.Input_Memory_Address, &in.memory_text,
                             &in.exec_text}) {
      EXPECT_EQ(box->Text(), "0") << box->name();
    }
    EXPECT_EQ(entryBits(), "00000000");
    EXPECT_FALSE(in.EXEC_FRAME.visible());
    EXPECT_EQ(focusedName(in), "Input_Bit(1)");
    REXEC& r = rexec();
    EXPECT_FALSE(r.Visible());
    EXPECT_FALSE(r.Timer1.enabled());
    EXPECT_EQ(r.Register_PC_Decimal.Caption(), "");
    EXPECT_EQ(r.Shape_Clock(0).FillColor(), ui::kWhite);
    EXPECT_TRUE(r.automatic_radio.Value());
    EXPECT_EQ(r.Command_Begin_Step.Caption(), "&Begin");
    EXPECT_EQ(platform.endRequests, 0);
    EXPECT_FALSE(app.programEnded());
  }

  void prepareARunningMachine() {
    typeBits("00100001");
    sendTo(0);
    startAt(0);
    step();
    tick();
    tick();
  }
};

TEST_F(Lifecycle, RestartOnTheExecutionScreenFinishesOnTheOldScreensAndStartsAfresh) {
  prepareARunningMachine();
  REXEC* old = &rexec();
  watch.log.clear();
  event([&] {
    old->Command_Restart.click();
    EXPECT_FALSE(old->Timer1.enabled()) << "the discarded clock stops at once";
  });
  EXPECT_EQ(watch.log, (std::vector<std::string>{"+DERAZO_Input", "+REXEC", "-DERAZO_Input",
                                                 "-REXEC"}));
  expectFreshScreens();
  EXPECT_NE(app.existingInitialScreen(), nullptr) << "the welcome screen is not touched";
}

TEST_F(Lifecycle, RestartOnTheInputScreenFinishesOnTheOldScreensAndStartsAfresh) {
  prepareARunningMachine();
  click(rexec().Command_View_Memory);
  DERAZO_Input* old = &input();
  watch.log.clear();
  event([&] { old->Command_Restart.click(); });
  EXPECT_EQ(watch.log, (std::vector<std::string>{"+DERAZO_Input", "+REXEC", "-DERAZO_Input",
                                                 "-REXEC"}));
  expectFreshScreens();
}

TEST_F(Lifecycle, ARestartedMachineRunsAgainAndKeepsTheModuleVariablesUntilThen) {
  prepareARunningMachine();
  click(rexec().Command_Restart);
  EXPECT_EQ(manual().Clock_Phase, 3) << "module variables keep their values";
  tick();  // the new clock is stopped: nothing happens
  EXPECT_EQ(manual().Clock_Phase, 3);
  startAt(0);
  EXPECT_EQ(manual().Clock_Phase, 1);
  click(rexec().Command_One_instruction);
  EXPECT_EQ(tickUntilStopped(), 8);
  EXPECT_EQ(rexec().SHAPEID(1).FillColor(), ui::kGreen) << "the new memory is all ADD 0";
}

TEST_F(Lifecycle, RestartTwiceInOneEventIsSafe) {
  event([&] {
    rexec().Command_Restart.click();
    rexec().Command_Restart.click();
    input().Command_Restart.click();
  });
  expectFreshScreens();
}

class ProgramEnd : public Lifecycle, public ::testing::WithParamInterface<const char*> {
 protected:
  void end(const std::string& how) {
    if (how == "Quit on the execution screen") click(rexec().Command_Quit);
    if (how == "closing the execution screen") event([&] { rexec().requestClose(); });
    if (how == "Quit on the input screen") click(input().Command_quit);
    if (how == "closing the input screen") event([&] { input().requestClose(); });
    if (how == "File > Exit") click(input().exit_menu);
  }
};

TEST_P(ProgramEnd, EndsTheProgramAtOnceWhileTheClockRuns) {
  prepareARunningMachine();
  const std::string before = memoryBits(0);
  end(GetParam());
  EXPECT_EQ(platform.endRequests, 1);
  EXPECT_TRUE(app.programEnded());
  EXPECT_TRUE(platform.messages.empty()) << "no question is asked";
  EXPECT_TRUE(platform.dialogs.empty()) << "nothing is saved";
  EXPECT_EQ(memoryBits(0), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEnd,
                         ::testing::Values("Quit on the execution screen",
                                           "closing the execution screen",
                                           "Quit on the input screen", "closing the input screen",
                                           "File > Exit"));

// --- The welcome screen ---------------------------------------------------------------

TEST_F(Lifecycle, StartUpOpensTheWelcomeScreenInFrontOfTheInputScreen) {
  Initial_Screen& w = welcome();
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.Version.Text(), "Version 1.0.4");
  EXPECT_TRUE(w.Label_Welcome.visible());
  EXPECT_TRUE(w.Label_Any_key.visible());
  EXPECT_TRUE(input().Visible());
  ASSERT_NE(app.existingRexec(), nullptr);
  EXPECT_FALSE(rexec().Visible());
  EXPECT_TRUE(manual().At_Phase_Zero);
  EXPECT_EQ(manual().Clock_Phase, 0);
  EXPECT_FALSE(manual().Pause_At_T0);
  EXPECT_TRUE(guardsClear());
}

TEST(Welcome, VersionTextComesFromTheProgramsOwnVersionNumbers) {
  FakePlatform platform;
  platform.programVersion = {2, 13, 0};
  Application app(platform);
  app.start();
  EXPECT_EQ(app.initialScreen().Version.Text(), "Version 2.13.0");
}

class HandOver : public Lifecycle, public ::testing::WithParamInterface<const char*> {
 protected:
  void act(const std::string& how) {
    Initial_Screen& w = welcome();
    if (how == "a key") event([&] { w.onKeyPress(' '); });
    if (how == "a mouse button") event([&] { w.onMouseDown(); });
    if (how == "the any-key text") event([&] { w.Label_Any_key.click(); });
    if (how == "the version box") event([&] { w.Version.click(); });
    if (how == "the background") event([&] { w.onClick(); });
    if (how == "the welcome text") event([&] { w.Label_Welcome.click(); });
  }
};

TEST_P(HandOver, BringsTheInputScreenToTheFrontAndHidesTheWelcomeScreen) {
  input().Input_Bit(3).SetFocus();
  act(GetParam());
  EXPECT_TRUE(input().Visible());
  ASSERT_NE(app.existingInitialScreen(), nullptr) << "hidden, not discarded";
  EXPECT_FALSE(welcome().Visible());
  const std::string how = GetParam();
  if (how == "the background" || how == "the welcome text") {
    EXPECT_EQ(focusedName(input()), "Input_Bit(1)");
    EXPECT_EQ(input().Input_Bit(1).SelLength(), 1);
  } else {
    EXPECT_EQ(focusedName(input()), "Input_Bit(3)");
  }
}

INSTANTIATE_TEST_SUITE_P(Events, HandOver,
                         ::testing::Values("a key", "a mouse button", "the any-key text",
                                           "the version box", "the background",
                                           "the welcome text"));

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
