#include <gtest/gtest.h>

#include <deque>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "support/fake_platform.h"
#include "ui/colors.h"
#include "ui/text_value.h"

namespace volpar::testing {
namespace {

namespace fs = std::filesystem;

bool allDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A caption the engine or a handler wrote: empty (never written) or digits 0..max.
bool isCaptionUpTo(const std::string& caption, int max) {
  return caption.empty() || (allDigits(caption) && ui::Val(caption) <= max);
}

// Random user events from a fixed seed: clicks on whatever can be clicked, texts typed
// into whatever can be typed into, and clock ticks; after each, what must always hold.
class Monkey {
 public:
  explicit Monkey(unsigned seed) : rng_(seed) {
    file_ =
        (fs::temp_directory_path() / ("volpar-monkey-" + std::to_string(seed) + ".txt")).string();
    app_.start();
  }
  ~Monkey() { fs::remove(file_); }

  int phases = 0, messages = 0, restarts = 0, inputsWaited = 0;

  // Runs one event; returns false (with the reason in `failure`) when an invariant broke.
  bool event() {
    const int phaseBefore = app_.manual().Clock_Phase;
    try {
      act();
      app_.collectRetired();
    } catch (const std::exception& e) {
      failure = std::string("exception: ") + e.what();
      return false;
    }
    if (app_.manual().Clock_Phase != phaseBefore) ++phases;
    messages = static_cast<int>(platform_.messages.size());
    return holds();
  }

  std::string failure;
  std::deque<std::string> recent;  // the last events, for the failure report

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(int percent) { return pick(100) < percent; }
  void note(std::string what) {
    recent.push_back(std::move(what));
    if (recent.size() > 12) recent.pop_front();
  }

  // Elements of the visible windows that a user can reach.
  template <class T>
  std::vector<T*> reachable(ui::ElementKind kind) {
    std::vector<T*> out;
    for (ui::Form* form : forms()) {
      if (!form->Visible()) continue;
      for (ui::Element* e : form->elements()) {
        if (e->kind() == kind && e->usable()) out.push_back(static_cast<T*>(e));
      }
    }
    return out;
  }
  std::vector<ui::Form*> forms() {
    std::vector<ui::Form*> out;
    if (auto* f = app_.existingInitialScreen()) out.push_back(f);
    if (auto* f = app_.existingDerazoInput()) out.push_back(f);
    if (auto* f = app_.existingRexec()) out.push_back(f);
    return out;
  }

  void act() {
    const int roll = pick(100);
    if (roll < 45) return tick();
    if (roll < 70) return clickButton();
    if (roll < 92) return typeText();
    if (roll < 97) return clickOther();
    return welcomeEvent();
  }

  void tick() {
    note("tick");
    app_.rexec().Timer1.tick();
  }

  void clickButton() {
    auto buttons = reachable<ui::CommandButton>(ui::ElementKind::CommandButton);
    if (buttons.empty()) return tick();
    ui::CommandButton* b =
        buttons[static_cast<std::size_t>(pick(static_cast<int>(buttons.size())))];
    const std::string& name = b->name();
    if (name == "Command_Quit" || name == "Command_quit") return;  // tested on their own
    if (name == "Command_Restart") {
      if (!chance(5)) return;
      ++restarts;
    }
    note("click " + b->form().name() + "." + b->displayName());
    b->click();
  }

  std::string randomText(int maxLength) {
    static const std::string kChars = "0101010123456789a x.-";
    std::string text;
    if (chance(55)) {
      text = std::string(1, "01"[pick(2)]);
    } else {
      const int length = pick(4);
      for (int i = 0; i < length; ++i)
        text += kChars[static_cast<std::size_t>(pick(static_cast<int>(kChars.size())))];
    }
    if (maxLength > 0 && chance(90) && static_cast<int>(text.size()) > maxLength) {
      text.resize(static_cast<std::size_t>(maxLength));
    }
    return text;
  }

  void typeText() {
    auto boxes = reachable<ui::TextBox>(ui::ElementKind::TextBox);
    if (boxes.empty()) return tick();
    ui::TextBox* box = boxes[static_cast<std::size_t>(pick(static_cast<int>(boxes.size())))];
    const std::string text = randomText(box->MaxLength());
    note("type \"" + text + "\" into " + box->form().name() + "." + box->displayName());
    box->type(text, static_cast<int>(text.size()));
  }

  void clickOther() {
    switch (pick(5)) {
      case 0: {
        auto options = reachable<ui::OptionButton>(ui::ElementKind::OptionButton);
        if (options.empty()) return;
        ui::OptionButton* o =
            options[static_cast<std::size_t>(pick(static_cast<int>(options.size())))];
        note("select " + o->name());
        return o->click();
      }
      case 1: {
        auto boxes = reachable<ui::CheckBox>(ui::ElementKind::CheckBox);
        if (boxes.empty()) return;
        note("toggle " + boxes[0]->name());
        return boxes[0]->click();
      }
      case 2: {
        auto scrolls = reachable<ui::HScrollBar>(ui::ElementKind::HScrollBar);
        if (scrolls.empty()) return;
        // Mostly fast, so that the clock gets somewhere.
        const int rate = chance(50) ? 1000 : 1 + pick(1000);
        note("speed " + std::to_string(rate));
        return scrolls[0]->setValue(rate);
      }
      case 3:
        return menu();
      default: {
        DERAZO_Input& in = app_.derazoInput();
        if (!in.Visible()) return;
        note("code panel");
        return chance(50) ? in.Command_Code_Info.click() : in.Command_Code_Close.click();
      }
    }
  }

  void menu() {
    DERAZO_Input& in = app_.derazoInput();
    if (!in.Visible()) return;
    const bool cancel = chance(50);
    switch (pick(3)) {
      case 0:
        note(cancel ? "save, cancelled" : "save");
        platform_.saveAnswers.push_back(cancel ? std::nullopt : std::optional<std::string>(file_));
        return in.save_menu.click();
      case 1:
        note(cancel ? "open, cancelled" : "open");
        platform_.openAnswers.push_back(cancel ? std::nullopt : std::optional<std::string>(file_));
        return in.Open_menu.click();
      default:
        note("help");
        return in.cont_menu.click();
    }
  }

  void welcomeEvent() {
    Initial_Screen* w = app_.existingInitialScreen();
    if (!w || !w->Visible()) return tick();
    switch (pick(4)) {
      case 0:
        note("welcome key");
        return w->onKeyPress('x');
      case 1:
        note("welcome click");
        return w->onClick();
      case 2:
        note("welcome notice");
        return w->Address.click();
      default:
        note("welcome text");
        return w->Label_Welcome.click();
    }
  }

  bool fail(const std::string& why) {
    failure = why;
    return false;
  }

  bool holds() {
    REXEC_Manual& m = app_.manual();
    if (m.Text_Driving_Bits || m.Bits_Driving_Text) return fail("an input guard was left set");
    if (m.Clock_Phase < 0 || m.Clock_Phase > 7)
      return fail("Clock_Phase " + std::to_string(m.Clock_Phase));
    if (platform_.endRequests != 0) return fail("the program was ended");

    REXEC& r = app_.rexec();
    const std::string& pc = r.Register_PC_Decimal.Caption();
    if (!pc.empty() && !(allDigits(pc) && ui::Val(pc) <= 31))
      return fail("PC caption \"" + pc + "\"");
    if (!isCaptionUpTo(r.Register_Address_Decimal.Caption(), 31)) return fail("AR caption");
    for (const ui::Label* l : {&r.Register_S_Decimal, &r.Register_X_Decimal, &r.Register_Y_Decimal,
                               &r.Register_Output_Decimal}) {
      if (!isCaptionUpTo(l->Caption(), 255)) return fail(l->name() + " \"" + l->Caption() + "\"");
    }
    int green = 0;
    for (const auto& cell : r.SHAPEID) green += cell->FillColor() == ui::kGreen ? 1 : 0;
    if (green > 1) return fail(std::to_string(green) + " decoder cells green");
    if (r.Input_Window.enabled() && m.Clock_Phase == 6) ++inputsWaited;

    int value = 0;
    for (int i = 1; i <= 8; ++i) {
      const std::string& t = r.Input_bit(i).Text();
      if (t != "0" && t != "1") return fail("input window bit box \"" + t + "\"");
      value = value * 2 + (t == "1");
    }
    const std::string& dec = r.Text_Input_Decimal.Text();
    if (!allDigits(dec) || ui::Val(dec) != value) return fail("input window out of step: " + dec);

    DERAZO_Input& in = app_.derazoInput();
    int byte = 0;
    for (int i = 1; i <= 8; ++i) {
      const std::string& t = in.Input_Bit(i).Text();
      if (t != "0" && t != "1") return fail("bit box \"" + t + "\"");
      byte = byte * 2 + (t == "1");
    }
    if (ui::Val(in.Input_Op_Code(0).Text()) != byte / 32) return fail("op code out of step");
    if (!allDigits(in.Input_Memory_Address.Text()) ||
        ui::Val(in.Input_Memory_Address.Text()) != byte % 32) {
      return fail("address field out of step: " + in.Input_Memory_Address.Text());
    }
    for (const ui::TextBox* t : {&in.memory_text, &in.exec_text}) {
      if (!allDigits(t->Text()) || ui::Val(t->Text()) > 31)
        return fail(t->name() + " \"" + t->Text() + "\"");
    }
    return true;
  }

  std::mt19937 rng_;
  FakePlatform platform_;
  Application app_{platform_};
  std::string file_;
};

TEST(Monkey, ThousandsOfRandomEventsKeepEveryInvariant) {
  constexpr unsigned kSeed = 1983;
  constexpr int kEvents = 20000;
  Monkey monkey(kSeed);
  for (int n = 0; n < kEvents; ++n) {
    if (!monkey.event()) {
      std::string trail;
      for (const std::string& e : monkey.recent) trail += "\n  " + e;
      FAIL() << "after event " << n << " (seed " << kSeed << "): " << monkey.failure
             << "\nlast events:" << trail;
    }
  }
  ::testing::Test::RecordProperty("phases", monkey.phases);
  ::testing::Test::RecordProperty("restarts", monkey.restarts);
  // The walk reached the interesting places, not just the welcome screen.
  EXPECT_GT(monkey.phases, 1000);
  EXPECT_GT(monkey.messages, 100);
  EXPECT_GT(monkey.restarts, 0);
  EXPECT_GT(monkey.inputsWaited, 0);
}

}  // namespace
}  // namespace volpar::testing
