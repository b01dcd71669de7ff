// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// Records when screens are created and destroyed, and fails if one is destroyed while an
// event is still running on it.
class Lifecycle : public ScreensFixture, public ScreensObserver {
 protected:
  bool inEvent = false;
  std::vector<std::string> log;
  void formCreated(ui::Form& form) override { log.push_back("+" + form.name()); }
  void formDestroyed(ui::Form& form) override {
    EXPECT_FALSE(inEvent) << form.name() << " destroyed under a running handler";
    log.push_back("-" + form.name());
  }
  Lifecycle() { app.addObserver(this); }
  ~Lifecycle() override { app.removeObserver(this); }

  // One event, the retired screens destroyed only after it.
  void event(const std::function<void()>& action) {
    inEvent = true;
    action();
    inEvent = false;
    app.collectRetired();
  }
  void prepareARunningMachine() {
    typeBits("00100001"), sendTo(0), startAt(0), step(), tick(), tick();
  }
  // The input screen in its entry arrangement, the execution screen hidden and stopped:
  // every element of both as tests/data/lifecycle/fresh.txt lists it.
  void expectFreshScreens() {
    const std::string seen =
        "Input_Bit(1) takes " + std::to_string(input().Input_Bit(1).MaxLength()) +
        " character, exec_text " + std::to_string(input().exec_text.MaxLength()) + "\n";
    expectGolden("lifecycle/fresh.txt", seen + screens());
  }
};

// Restart on either screen finishes its handler on the old screens, then starts afresh;
// the module variables keep their values until execution starts again.
TEST_F(Lifecycle, RestartDiscardsBothScreensAfterTheEventAndTheWelcomeScreenHandsOver) {
  for (const bool fromInputScreen : {false, true}) {
    prepareARunningMachine();
    platform.saveQuestionAnswers = {ui::Platform::SaveAnswer::DontSave};
    if (fromInputScreen) click(rexec().Command_View_Memory);
    REXEC* oldRexec = &rexec();
    DERAZO_Input* oldInput = &input();
    log.clear();
    event([&] {
      fromInputScreen ? oldInput->Command_Restart.click() : oldRexec->Command_Restart.click();
      EXPECT_FALSE(oldRexec->Timer1.enabled()) << "the discarded clock stops at once";
    });
    EXPECT_EQ(log,
              (std::vector<std::string>{"+DERAZO_Input", "+REXEC", "-DERAZO_Input", "-REXEC"}));
    expectFreshScreens();
    EXPECT_NE(app.existingInitialScreen(), nullptr) << "the welcome screen is not touched";
    EXPECT_EQ(view().phase(), 3) << "module variables keep their values";
    tick();  // the new clock is stopped: nothing happens
    EXPECT_EQ(view().phase(), 3);
  }
  event([&] {  // twice in one event, from both screens
    rexec().Command_Restart.click(), rexec().Command_Restart.click();
    input().Command_Restart.click();
  });
  expectFreshScreens();
  startAt(0);  // and the new machine runs
  click(rexec().Command_One_instruction);
  EXPECT_EQ(tickUntilStopped(), 8);
  EXPECT_EQ(rexec().SHAPEID(1).FillColor(), ui::kGreen) << "the new memory is all ADD 0";

  // The welcome screen shows the program's own version. A key keeps the input screen's
  // focus, a click on the background puts it on the first bit box; either hides the welcome
  // screen. A click on the notice discards it, the focus kept
  // (tests/data/lifecycle/welcome.txt).
  EXPECT_EQ(welcome().Version.Text(), "Version 2.13.0");
  log.clear(), play("lifecycle/welcome.txt");
  EXPECT_EQ(log, std::vector<std::string>{"-Initial_Screen"});
  EXPECT_FALSE(app.programEnded());
}

// Quit, File > Exit, closing either window, Restart on either screen and File > Open: at
// once while memory holds what was last loaded or saved; otherwise only after the question,
// and a Cancel, or a Save that does not happen, loses nothing. STORE in a run is a change
// too, and the question then says that the running program changed memory
// (tests/data/lifecycle/ending-N.txt, N the way in the order of act()).
class ProgramEnd : public Lifecycle, public ::testing::WithParamInterface<int> {
 protected:
  using Answer = ui::Platform::SaveAnswer;
  // One file per process: the cases and other test runs may run at the same time.
  const std::string file = (std::filesystem::temp_directory_path() /
                            ("volpar-ask-" + std::to_string(::getpid()) + ".txt"))
                               .string();
  // What Open loads: byte 0 unlike any the cases write.
  const std::string other = file + ".other.txt";
  ProgramEnd() { std::ofstream(other) << "[First8]\r\nByte0=11110000\r\n"; }
  ~ProgramEnd() override {
    std::filesystem::remove(file);
    std::filesystem::remove(other);
  }

  // One ending action; true when it happened (the program ended, or memory was cleared or
  // replaced).
  bool act() {
    const std::vector<std::function<void()>> ways{[&] { rexec().Command_Quit.click(); },
                                                  [&] { rexec().requestClose(); },
                                                  [&] { input().Command_quit.click(); },
                                                  [&] { input().requestClose(); },
                                                  [&] { input().exit_menu.click(); },
                                                  [&] { rexec().Command_Restart.click(); },
                                                  [&] { input().Command_Restart.click(); },
                                                  [&] {
                                                    platform.openAnswers = {other};
                                                    input().Open_menu.click();
                                                  }};
    const int ends = platform.endRequests;
    const std::string before = memoryBits(0);
    event(ways[static_cast<std::size_t>(GetParam())]);
    return GetParam() >= 5 ? memoryBits(0) != before : platform.endRequests > ends;
  }
  // The questions asked since the last call, title and text.
  std::string asked() {
    std::string out;
    for (const auto& q : platform.questions) out += q.title + ": " + q.text + " ";
    platform.questions.clear();
    return out;
  }
};

TEST_P(ProgramEnd, AsksExactlyWhenMemoryIsUnsavedAndLosesNothingOnCancel) {
  std::string seen;
  const auto end = [&](const char* when, Answer answer, std::optional<std::string> to = {}) {
    platform.saveQuestionAnswers = {answer};
    platform.saveAnswers = {to};
    const bool happened = act();
    seen +=
        std::string(when) + ": " + asked() + (happened ? "done" : "kept " + memoryBits(0)) + "\n";
  };
  typeBits("00100001"), sendTo(0), end("typed, cancelled", Answer::Cancel);
  for (const auto& [when, answer, to] :
       {std::tuple("running, save dialog cancelled", Answer::Save, std::optional<std::string>()),
        std::tuple("running, not saved", Answer::DontSave, std::optional<std::string>()),
        std::tuple("running, saved", Answer::Save, std::optional<std::string>(file))}) {
    prepareARunningMachine(), end(when, answer, to);
  }
  EXPECT_TRUE(std::filesystem::exists(file));

  // After a save or a load: at once, until a STORE in the run changes memory.
  pokeFrom(0, {"001 00110", "010 00101"});  // LOAD 6, STORE 5
  poke(6, "11111111");
  platform.saveAnswers = {file};
  click(input().save_menu), end("saved", Answer::Cancel);
  platform.openAnswers = {file};
  click(input().Open_menu), startAt(0), step();
  for (int i = 0; i < 6; ++i) tick();
  end("loaded, nothing changed yet", Answer::Cancel);
  if (GetParam() < 5) {
    for (int i = 0; i < 16; ++i) tick();
    end("the run stored 11111111 at 5", Answer::Cancel);
    // The user's own byte sent after the run: the question still names the run's change;
    // one the user sends over the stored byte leaves only the user's change.
    click(rexec().Command_Return_to_Input), typeBits("00000111"), sendTo(20);
    end("the user's byte sent to 20", Answer::Cancel);
    typeBits("00001111"), sendTo(5);
    end("the user's byte sent over the stored one", Answer::Cancel);
  }
  expectGolden("lifecycle/ending-" + std::to_string(GetParam()) + ".txt", seen);
}

INSTANTIATE_TEST_SUITE_P(QuitCloseExitRestartOrOpen, ProgramEnd, ::testing::Range(0, 8));

}  // namespace
}  // namespace volpar::testing
