// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the library composes for a user goes through the catalog: under the
// pseudo-language each one shows as ⟦…⟧ in the golden file tests/data/i18n/pseudo-language.txt,
// with only the machine's notation (LOAD, PC, T=0), values, file names and the system's own
// words outside the marks. The machine itself stays in English: a run ends as in English.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "history/execution_history.h"
#include "i18n/languages.h"
#include "machine/phase_explanation.h"
#include "screens/machine_reading.h"
#include "support/data_table.h"
#include "support/screens_fixture.h"
#include "ui/accessible_parts.h"

namespace volpar {
namespace {

class PseudoLanguage : public testing::ScreensFixture {
 protected:
  PseudoLanguage() { app.setLanguage(i18n::kPseudo); }
  ~PseudoLanguage() override { i18n::setLanguage("en"); }
  void say(const std::string& what, const std::string& text) { seen += what + ": " + text + "\n"; }
  std::string seen;
};

TEST_F(PseudoLanguage, EveryTextAUserReadsIsTranslatedWhole) {
  const std::string text = "volpar-language-test.txt";
  std::ofstream(text) << "; a program with a mistake\nFOO 3\n";
  type(input().Input_Bit(1), "2");
  type(input().Input_Op_Code(0), "9");
  sendTo(40);
  platform.openAnswers = {"/nonexistent/p.txt", text};  // a file missing, one with a mistake
  click(input().Open_menu);
  click(input().Open_menu);
  platform.saveAnswers.push_back("/nonexistent/p.txt");
  click(input().save_menu);
  poke(3, 37);
  platform.saveQuestionAnswers.push_back(ui::Platform::SaveAnswer::Cancel);
  click(input().Command_quit);
  for (const auto& m : platform.messages) say("message", m.title + " | " + m.text);
  for (const auto& m : platform.questions) say("question", m.title + " | " + m.text);
  std::remove(text.c_str());
  for (const char* args :
       {"--language de", "--language=pt_BR p.txt", "--language xx", "--language"}) {
    std::istringstream words(args);
    const CommandLine line = parseCommandLine({std::istream_iterator<std::string>(words), {}});
    say(std::string("command line ") + args, line.language + " | " + line.error);
  }
  // The counting loop (120 counted up by 1 until it turns negative, each value output) read
  // phase by phase, then run to its end; then the welcome screen's version back in English.
  history::ExecutionHistory history{app};
  pokeFrom(0, {"00100111", "00001000", "01000111", "10000000", "11100000", "10100101"});
  poke(7, 120);
  poke(8, 1);
  say("welcome", welcome().Version.Text());
  const ui::AccessibleParts memory = screens::inputParts(input());
  const auto rows = [&memory] {
    std::vector<std::string> said;
    for (const ui::Reading& row : memory.table->rows) said.push_back(row.say());
    return said;
  };
  const std::vector<std::string> before = rows();
  startAt(0);
  chooseManual();
  for (int phase = 0; phase < 12; ++phase) {
    step();
    say("phase", explainedPhase(view(), view().phase()) + " | " + lastPhaseInWords(rexec()));
  }
  for (std::size_t i = 0; i < history.lineCount(); ++i) say("history", history.line(i));
  say("summary", app.machineSummary());
  poke(9, 5);
  say("news", ui::tableNews(*memory.table, before, rows()));
  for (const ui::ControlName& n : screens::executionParts(rexec()).names) say("part", n.name);
  for (const ui::Reading& r : screens::executionReadings(rexec())) say(r.name, r.say());
  pulse(400);
  say("end",
      registers() + " M7 " + memoryBits(7) + " " + rexec().Register_Output_Decimal.Caption());
  app.setLanguage("en");
  say("welcome in English", welcome().Version.Text());
  testing::expectGolden("i18n/pseudo-language.txt", seen);
}

}  // namespace
}  // namespace volpar
