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
  Lifecycle() { app.addObserver(&watch); }
  ~Lifecycle() override { app.removeObserver(&watch); }

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
    for (int a = 0; a < 32; ++a) ASSERT_EQ(memoryBits(a), "00000000") << a;
    EXPECT_EQ(entryBits(), "00000000");
    EXPECT_EQ(input().exec_text.Text(), "0");
    EXPECT_TRUE(input().Visible() && !input().EXEC_FRAME.visible());
    EXPECT_EQ(focusedName(input()), "Input_Bit(1)");
    EXPECT_FALSE(rexec().Visible() || rexec().Timer1.enabled());
    EXPECT_EQ(rexec().Timer1.Interval(), 1000);
    EXPECT_EQ(rexec().Command_Begin_Step.Caption(), "&Begin");
    EXPECT_EQ(clockCells(), "00000000");
    EXPECT_TRUE(rexec().automatic_radio.Value());
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
    EXPECT_EQ(view().phase(), 3) << "module variables keep their values";
    tick();  // the new clock is stopped: nothing happens
    EXPECT_EQ(view().phase(), 3);
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

// A key keeps the input screen's focus, a click on the background puts it on the first bit
// box; either hides the welcome screen. A click on the notice discards it, the focus kept.
TEST_F(Lifecycle, WelcomeScreenHandsOverToTheInputScreen) {
  const struct {
    std::function<void()> way;
    bool toFirstBox;
    std::vector<std::string> log;
  } cases[] = {{[&] { welcome().onKeyPress(' '); }, false, {}},
               {[&] { welcome().onClick(); }, true, {}},
               {[&] { welcome().Address.click(); }, false, {"-Initial_Screen"}}};
  for (const auto& c : cases) {
    welcome().Show();
    input().Input_Bit(3).SetFocus();
    watch.log.clear();
    event(c.way);
    EXPECT_TRUE(input().Visible());
    EXPECT_EQ(watch.log, c.log);
    EXPECT_FALSE(app.existingInitialScreen() && app.existingInitialScreen()->Visible());
    EXPECT_EQ(focusedName(input()), c.toFirstBox ? "Input_Bit(1)" : "Input_Bit(3)");
    EXPECT_TRUE(!c.toFirstBox || input().Input_Bit(1).SelLength() == 1);
  }
  EXPECT_EQ(app.existingInitialScreen(), nullptr);
  EXPECT_FALSE(app.programEnded());
}

}  // namespace
}  // namespace volpar::testing
