// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the library composes for a user goes through the catalog: under the
// pseudo-language each one shows as ⟦…⟧, so whatever a user would read outside those marks
// escaped it. The machine itself stays in English: a run ends the same in every language.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "app/command_line.h"
#include "history/execution_history.h"
#include "i18n/languages.h"
#include "machine/phase_explanation.h"
#include "screens/machine_reading.h"
#include "support/screens_fixture.h"
#include "ui/accessible_parts.h"

namespace volpar {
namespace {

// What a text says outside its ⟦…⟧ segments (nested ones too) once the words the test
// itself put in are taken out: only letters are kept, since digits and signs need no
// translation.
std::string escaped(const std::string& text, const std::vector<std::string>& given) {
  const std::string open = "\u27e6", close = "\u27e7";
  std::string outside;
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, open.size(), open) == 0)
      ++depth, i += open.size() - 1;
    else if (text.compare(i, close.size(), close) == 0)
      --depth, i += close.size() - 1;
    else if (depth == 0)
      outside += text[i];
  }
  for (const std::string& word : given)
    for (std::size_t at; !word.empty() && (at = outside.find(word)) != std::string::npos;)
      outside.erase(at, word.size());
  std::erase_if(outside, [](char c) { return !std::isalpha(static_cast<unsigned char>(c)); });
  return outside;
}

// The mnemonics and registers' letters are the machine's notation, the same in every language.
const std::vector<std::string> kNotation = {"LOAD",    "ADD", "INPUT", "STORE", "OUTPUT", "BRANCH",
                                            "BR NNeg", "PC",  "AR",    "IR",    "X",      "Y",
                                            "S",       "T",   "M",     "DATA",  "FOO"};

class PseudoLanguage : public testing::ScreensFixture {
 protected:
  PseudoLanguage() { app.setLanguage(i18n::kPseudo); }
  ~PseudoLanguage() override { i18n::setLanguage("en"); }

  void expectMarked(const std::string& text, std::vector<std::string> given = {}) {
    given.insert(given.end(), kNotation.begin(), kNotation.end());
    EXPECT_EQ(escaped(text, given), "") << text;
  }

  // The counting loop: 120 counted up by 1 until it turns negative, each value output.
  void pokeCountingLoop() {
    pokeFrom(0, {"00100111", "00001000", "01000111", "10000000", "11100000", "10100101"});
    poke(7, 120);
    poke(8, 1);
  }
};

TEST_F(PseudoLanguage, EveryMessageBoxAndQuestionIsTranslatedWhole) {
  const std::filesystem::path text = std::filesystem::temp_directory_path() / "volpar-lang.txt";
  std::ofstream(text) << "; a program with a mistake\nFOO 3\n";
  const std::string noFile = std::error_code(ENOENT, std::generic_category()).message();
  struct Case {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> given;
  };
  const std::vector<Case> cases = {
      {"a bit box given 2", [&] { type(input().Input_Bit(1), "2"); }, {}},
      {"an op code of 9", [&] { type(input().Input_Op_Code(0), "9"); }, {}},
      {"memory location 40", [&] { sendTo(40); }, {}},
      {"open a missing file",
       [&] {
         platform.openAnswers.push_back("/nonexistent/p.txt");
         click(input().Open_menu);
       },
       {"/nonexistent/p.txt", noFile}},
      {"open program text with a mistake",
       [&] {
         platform.openAnswers.push_back(text.string());
         click(input().Open_menu);
       },
       {text.string()}},
      {"save into a missing folder",
       [&] {
         platform.saveAnswers.push_back("/nonexistent/p.txt");
         click(input().save_menu);
       },
       {"/nonexistent", noFile}},
      {"quit with a program not saved",
       [&] {
         poke(3, 37);
         platform.saveQuestionAnswers.push_back(ui::Platform::SaveAnswer::Cancel);
         click(input().Command_quit);
       },
       {}},
  };
  for (const Case& c : cases) {
    platform.messages.clear();
    platform.questions.clear();
    c.act();
    const auto& said = platform.messages.empty() ? platform.questions : platform.messages;
    ASSERT_FALSE(said.empty()) << c.what;
    for (const auto& m : said) {
      expectMarked(m.title, c.given);
      expectMarked(m.text, c.given);
    }
  }
  std::filesystem::remove(text);
}

TEST_F(PseudoLanguage, HistoryPhasesReadingsAndNewsAreTranslated) {
  history::ExecutionHistory history{app};
  pokeCountingLoop();
  const ui::AccessibleParts memory = screens::inputParts(input());
  std::vector<std::string> before;
  for (const ui::Reading& row : memory.table->rows) before.push_back(row.say());
  startAt(0);
  chooseManual();
  for (int phase = 0; phase < 12; ++phase) {
    step();
    expectMarked(explainedPhase(view(), view().phase()));
    expectMarked(lastPhaseInWords(rexec()));
  }
  ASSERT_GT(history.lineCount(), 3u);
  for (std::size_t i = 0; i < history.lineCount(); ++i) expectMarked(history.line(i));
  expectMarked(app.machineSummary());
  poke(9, 5);
  std::vector<std::string> now;
  for (const ui::Reading& row : memory.table->rows) now.push_back(row.say());
  const std::string news = ui::tableNews(*memory.table, before, now);
  ASSERT_FALSE(news.empty());
  expectMarked(news, {"00000101"});
  for (const ui::ControlName& n : screens::executionParts(rexec()).names) expectMarked(n.name);
  for (const ui::Reading& r : screens::executionReadings(rexec()))
    expectMarked(r.name + " " + r.say());
}

TEST(Language, TheCountingLoopEndsAlikeInEveryLanguage) {
  struct Run : testing::ScreensFixture {
    void TestBody() override {}
    std::string countUp() {
      pokeFrom(0, {"00100111", "00001000", "01000111", "10000000", "11100000", "10100101"});
      poke(7, 120);
      poke(8, 1);
      startAt(0);
      pulse(400);
      return registers() + " M7 " + memoryBits(7) + " " + rexec().Register_Output_Decimal.Caption();
    }
  };
  const std::string english = Run().countUp();
  EXPECT_EQ(english, "PC 5 AR 5 IR 165 X 127 Y 1 S 128 OUT 128 M7 10000000 128");
  i18n::setLanguage(i18n::kPseudo);
  const std::string pseudo = Run().countUp();
  i18n::setLanguage("en");
  EXPECT_EQ(pseudo, english);
}

TEST_F(PseudoLanguage, TheWelcomeScreensVersionFollowsTheLanguage) {
  const std::string shown = welcome().Version.Text();
  expectMarked(shown);
  EXPECT_NE(shown.find(std::to_string(platform.programVersion.major)), std::string::npos) << shown;
  app.setLanguage("en");
  EXPECT_EQ(welcome().Version.Text().rfind("Version ", 0), 0u) << welcome().Version.Text();
}

TEST(Language, TheCommandLineNamesALanguage) {
  const struct {
    std::vector<std::string> args;
    std::string language, error;
  } cases[] = {
      {{"--language", "de"}, "de", ""},
      {{"--language=pt_BR", "p.txt"}, "pt_BR", ""},
      {{"--language", "xx"},
       "",
       "unknown language \"xx\": the languages are en, de, es, fr, pt_BR, zh_CN"},
      {{"--language"}, "", "--language needs a language code"},
  };
  for (const auto& c : cases) {
    const CommandLine line = parseCommandLine(c.args);
    EXPECT_EQ(line.error, c.error) << c.args[0];
    EXPECT_EQ(line.language, c.error.empty() ? c.language : line.language) << c.args[0];
  }
}

}  // namespace
}  // namespace volpar
