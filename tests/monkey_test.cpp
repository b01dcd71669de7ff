// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <exception>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// A caption or text that reads as a whole number 0..max, digits only.
bool number(const std::string& s, int max) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos && ui::Val(s) <= max;
}
// Bit boxes that hold "0" or "1" each, read as a number; -1 otherwise.
int byteOf(const std::string& bits) {
  if (bits.size() != 8 || bits.find_first_not_of("01") != std::string::npos) return -1;
  return std::stoi(bits, nullptr, 2);
}

// A whole number from the environment, or `otherwise`.
unsigned long long fromEnvironment(const char* name, unsigned long long otherwise) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : otherwise;
}

// Random user events from a seed: clicks on whatever a user can reach (but Quit and Exit,
// tested on their own; Restart seldom), random texts typed into visible boxes, speed
// changes, keys and clicks on the welcome screen, and clock ticks. VOLPAR_MONKEY_SEED and
// VOLPAR_MONKEY_EVENTS choose another walk; what is kept per event stays bounded, so a
// walk of millions of events runs in constant memory.
class Monkey : public ScreensFixture {
 protected:
  const unsigned seed = static_cast<unsigned>(fromEnvironment("VOLPAR_MONKEY_SEED", 1983));
  const unsigned long long events = fromEnvironment("VOLPAR_MONKEY_EVENTS", 20000);
  std::mt19937 rng{seed};
  std::deque<std::string> recent;  // the last events, for the failure report
  int restarts = 0;
  unsigned long long messages = 0;
  bool writesMemory = false;  // the last event was Send to Memory, Open or Restart
  const std::string file = (std::filesystem::temp_directory_path() / "volpar-monkey.txt").string();
  ~Monkey() override { std::filesystem::remove(file); }

  int pick(std::size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(rng); }
  void note(std::string what) {
    recent.push_back(std::move(what));
    if (recent.size() > 12) recent.pop_front();
  }

  // Text boxes, or else what takes a click or a drag, on the visible windows.
  std::vector<ui::Element*> reachable(bool textBoxes) {
    using K = ui::ElementKind;
    std::vector<ui::Element*> out;
    for (ui::Form* form : std::vector<ui::Form*>{app.existingInitialScreen(),
                                                 app.existingDerazoInput(), app.existingRexec()}) {
      if (!form || !form->Visible()) continue;
      for (ui::Element* e : form->elements()) {
        const K k = e->kind();
        const bool clicked = k == K::CommandButton || k == K::OptionButton || k == K::CheckBox ||
                             k == K::Menu || k == K::HScrollBar ||
                             (k == K::Label && static_cast<ui::Label*>(e)->onClick);
        const bool ends =
            e->name() == "Command_Quit" || e->name() == "Command_quit" || e->name() == "exit_menu";
        if (e->usable() && !ends && (textBoxes ? k == K::TextBox : clicked)) out.push_back(e);
      }
    }
    return out;
  }
  std::string randomText() {
    if (pick(100) < 55) return std::string(1, "01"[pick(2)]);
    static const std::string kChars = "0101010123456789a x.-";
    std::string text(static_cast<std::size_t>(pick(4)), ' ');
    for (char& c : text) c = kChars[static_cast<std::size_t>(pick(kChars.size()))];
    return text;
  }

  void act() {
    messages += platform.messages.size();
    platform.messages.clear();
    platform.dialogs.clear();
    platform.helpShown.clear();
    platform.openAnswers.assign(1, pick(2) ? std::optional<std::string>(file) : std::nullopt);
    platform.saveAnswers = platform.openAnswers;
    platform.saveQuestionAnswers.assign(1, ui::Platform::SaveAnswer::DontSave);
    writesMemory = false;
    const int roll = pick(100);
    if (Initial_Screen* w = app.existingInitialScreen(); roll >= 97 && w && w->Visible()) {
      note("key, click or mouse button on the welcome screen");
      roll == 97 ? w->onKeyPress('x') : roll == 98 ? w->onClick() : w->onMouseDown();
      return app.collectRetired();
    }
    const std::vector<ui::Element*> all = reachable(roll >= 70);
    ui::Element* e = all.empty() ? nullptr : all[static_cast<std::size_t>(pick(all.size()))];
    if (roll < 45 || !e || (e->name() == "Command_Restart" && pick(20) != 0)) {
      note("tick");
      return tick();
    }
    note(e->form().name() + "." + e->displayName());
    for (const char* name : {"Command_Send_to_Memory", "Open_menu", "Command_Restart"})
      writesMemory = writesMemory || e->name() == name;
    restarts += e->name() == "Command_Restart";
    switch (e->kind()) {
      case ui::ElementKind::TextBox: {
        const std::string text = randomText();
        recent.back() += " typed \"" + text + "\"";
        return type(static_cast<ui::TextBox&>(*e), text);
      }
      case ui::ElementKind::HScrollBar: {
        const int rate = pick(2) ? 1000 : 1 + pick(1000);  // mostly fast, to get somewhere
        recent.back() += " to " + std::to_string(rate);
        return drag(static_cast<ui::HScrollBar&>(*e), rate);
      }
      default: return clickElement(*e);
    }
  }

  // Empty while every invariant holds, else what broke.
  std::string broken(const std::string& memoryBefore, int phaseBefore) {
    REXEC& r = rexec();
    DERAZO_Input& in = input();
    if (!guardsClear()) return "an input guard was left set";
    // A STORE writes memory at T5, which lights the lamp from S to memory.
    const bool stored = r.Shapetm.FillColor() == ui::kCyan && view().phase() != phaseBefore;
    if (!writesMemory && !stored && lit(input().Shape1, ui::kYellow) != memoryBefore)
      return "memory changed without Send to Memory, STORE or Open";
    if (view().phase() < 0 || view().phase() > 7) return "phase " + std::to_string(view().phase());
    if (platform.endRequests != 0) return "the program was ended";
    for (const ui::Label* l :
         {&r.Register_PC_Decimal, &r.Register_Address_Decimal, &r.Register_S_Decimal,
          &r.Register_X_Decimal, &r.Register_Y_Decimal, &r.Register_Output_Decimal}) {
      const int max = l == &r.Register_PC_Decimal || l == &r.Register_Address_Decimal ? 31 : 255;
      if (!l->Caption().empty() && !number(l->Caption(), max))
        return l->name() + " \"" + l->Caption() + "\"";
    }
    const std::string green = lit(r.SHAPEID, ui::kGreen);
    if (green.find('1') != green.rfind('1')) return "decoder cells green: " + green;
    // Each view of a byte agrees with its bit boxes, which hold "0" or "1" only.
    const int window = byteOf(windowBits()), entry = byteOf(entryBits());
    if (window < 0 || !number(r.Text_Input_Decimal.Text(), 255) ||
        ui::Val(r.Text_Input_Decimal.Text()) != window)
      return "input window out of step: " + windowBits() + " " + r.Text_Input_Decimal.Text();
    if (entry < 0 || ui::Val(in.Input_Op_Code(0).Text()) != entry / 32 ||
        !number(in.Input_Memory_Address.Text(), 31) ||
        ui::Val(in.Input_Memory_Address.Text()) != entry % 32)
      return "entry out of step: " + entryBits();
    for (const ui::TextBox* t : {&in.memory_text, &in.exec_text})
      if (!number(t->Text(), 31)) return t->name() + " \"" + t->Text() + "\"";
    return "";
  }
};

TEST_F(Monkey, ThousandsOfRandomEventsKeepEveryInvariant) {
  unsigned long long phases = 0, inputsWaited = 0;
  for (unsigned long long n = 0; n < events; ++n) {
    const int phaseBefore = view().phase();
    const std::string memoryBefore = lit(input().Shape1, ui::kYellow);
    std::string failure;
    try {
      act();
      failure = broken(memoryBefore, phaseBefore);
    } catch (const std::exception& e) {
      failure = std::string("exception: ") + e.what();
    }
    if (!failure.empty()) {
      std::string trail;
      for (const std::string& e : recent) trail += "\n  " + e;
      FAIL() << "after event " << n << " (seed " << seed << "): " << failure << "\nlast:" << trail;
    }
    phases += view().phase() != phaseBefore;
    inputsWaited += rexec().Input_Window.enabled() && view().phase() == 6;
  }
  // The walk reached the interesting places, not just the welcome screen.
  if (events < 20000) return;
  EXPECT_GT(phases, events / 20);
  EXPECT_GT(messages, events / 200);
  EXPECT_GT(restarts, 0);
  EXPECT_GT(inputsWaited, 0U);
}

}  // namespace
}  // namespace volpar::testing
