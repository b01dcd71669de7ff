// SPDX-License-Identifier: GPL-3.0-or-later
// While the clock runs, every frame that reaches the screen shows one moment of the machine:
// each cell, lamp and register caption of the execution screen as the model held them when
// the frame was taken, never two moments mixed and never a change missed. The real clock
// driver runs the programs at rates from 1000 Hz down to 20 Hz, the rate changed on the
// options panel as a student changes it.
#include <QEvent>
#include <deque>

#include "bridge_fixture.h"
#include "qt/form_window.h"
#include "qt/qt_color.h"
#include "qt/theme.h"

namespace volpar::qttest {
namespace {

constexpr int kRates[] = {1000, 500, 333, 250, 100, 60, 20};

// What the execution screen must show after one frame: the colour of every cell and lamp,
// and each register caption drawn from the model at that moment.
struct Moment {
  int frame;
  std::vector<QColor> cells;
  std::vector<QImage> captions;
};

// Notes each paint of the window's surfaces: from then on the screen shows the last frame.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(std::function<void()> painted) : painted_(std::move(painted)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_();
    return false;
  }

 private:
  std::function<void()> painted_;
};

class RunningPicture : public BridgeFixture {
 protected:
  RunningPicture() {
    hideWelcome();
    // Every cell and lamp, every register's number, every button.
    for (ui::Element* e : rexec().elements()) {
      if (e->kind() == ui::ElementKind::Shape && e->shownOnScreen())
        cells_.push_back(static_cast<ui::Shape*>(e));
      if (e->kind() == ui::ElementKind::Label && e->name().ends_with("_Decimal"))
        captions_.push_back(static_cast<ui::Label*>(e));
      if (e->kind() == ui::ElementKind::CommandButton)
        buttons_.push_back(static_cast<ui::CommandButton*>(e));
    }
  }

  // Starts the program at address 0 in automatic mode and watches every frame of the
  // execution screen as the rate goes through kRates.
  void runAtEveryRate() {
    startRun();
    watch();
    setRate(kRates[0]);
    act([this] { rexec().Command_Begin_Step.click(); });
    for (int rate : kRates) {
      setRate(rate);
      const int before = compared_, firstMismatch = mismatches_;
      firstWrong_.clear();
      settle(rate >= 100 ? 400 : 900);
      const int seen = compared_ - before;
      EXPECT_GE(seen, rate >= 100 ? 10 : 5) << "frames compared at " << rate << " Hz";
      EXPECT_EQ(mismatches_ - firstMismatch, 0)
          << seen << " frames at " << rate << " Hz, first wrong: " << firstWrong_;
    }
  }

  // The moments noted so far were drawn in another theme: only frames noted from now on
  // are compared.
  void forgetMoments() { moments_.clear(); }

  // The options panel sets the rate; a run's OUTPUT does not stop the clock.
  void setRate(int rate) {
    act([this, rate] {
      rexec().Command_Options.click();
      rexec().time_scroll.setValue(rate);
      if (rexec().Stop_For_Output.Value() == 1) rexec().Stop_For_Output.click();
      rexec().Command_Options_Close.click();
    });
  }

 private:
  void watch() {
    qt::FormWindow& w = window(rexec());
    paintWatch_ = std::make_unique<PaintWatch>([this] { paintedFrame_ = frames_; });
    // A paint of any part of the window paints every part waiting to be painted.
    for (QWidget* part : w.findChildren<QWidget*>()) part->installEventFilter(paintWatch_.get());
    w.onFrame([this] { frameTaken(); });
  }

  // A frame has just been taken from the model and is not painted yet: the screen still
  // shows the frame painted last, which must be the moment noted then.
  void frameTaken() {
    for (const Moment& m : moments_) {
      if (m.frame == paintedFrame_) compare(m);
    }
    moments_.push_back(now(++frames_));
    if (moments_.size() > 3) moments_.pop_front();
    for (const ui::CommandButton* b : buttons_) {
      if (widget(*b)->isEnabled() != b->enabled()) fail(b->displayName() + " enabled");
    }
    answerInput();
  }

  Moment now(int frame) {
    qt::FormWindow& w = window(rexec());
    const QPalette pal = w.clientArea()->palette();
    Moment m{frame, {}, {}};
    for (const ui::Shape* s : cells_) {
      m.cells.push_back(qt::toQColor(s->FillColor(), pal, frontend::Paint::Fill));
    }
    for (const ui::Label* l : captions_) {
      m.captions.push_back(
          w.clientArea()->grab(w.pixelRect(*l)).toImage().convertToFormat(QImage::Format_RGB32));
    }
    return m;
  }

  void compare(const Moment& m) {
    qt::FormWindow& w = window(rexec());
    const QImage shown = onScreen(rexec());
    ++compared_;
    for (std::size_t i = 0; i < cells_.size(); ++i) {
      const QColor drawn = shown.pixelColor(w.pixelRect(*cells_[i]).center());
      if (drawn != m.cells[i]) {
        return fail(cells_[i]->displayName() + " drawn " + name(drawn) + " at frame " +
                    std::to_string(m.frame) + ", not " + name(m.cells[i]));
      }
    }
    for (std::size_t i = 0; i < captions_.size(); ++i) {
      if (shown.copy(w.pixelRect(*captions_[i])) != m.captions[i]) {
        return fail(captions_[i]->displayName() + " caption");
      }
    }
  }

  // The student types 5 into the input window when an INPUT waits.
  void answerInput() {
    if (answering_ || !rexec().Command_Input_Window_OK.enabled()) return;
    answering_ = true;
    QTimer::singleShot(0, [this] {
      act([this] {
        rexec().Text_Input_Decimal.type("5", 1);
        rexec().Command_Input_Window_OK.click();
      });
      answering_ = false;
    });
  }

  void fail(const std::string& what) {
    ++mismatches_;
    if (firstWrong_.empty()) firstWrong_ = what;
  }
  static std::string name(const QColor& c) { return c.name().toStdString(); }

  std::vector<const ui::Shape*> cells_;
  std::vector<const ui::Label*> captions_;
  std::vector<const ui::CommandButton*> buttons_;
  std::unique_ptr<PaintWatch> paintWatch_;
  std::deque<Moment> moments_;
  int frames_ = 0, paintedFrame_ = -1, compared_ = 0, mismatches_ = 0;
  std::string firstWrong_;
  bool answering_ = false;
};

// Every op code and so every lamp: INPUT, OUTPUT, STORE 20, LOAD 20, ADD 21, branch if
// negative to 7, branch if not negative to 7, BRANCH 0; 1 at address 21.
TEST_F(RunningPicture, EveryOpCodeIsShownAsItIsAtEveryFrame) {
  poke({{0, "01100000"}, {1, "10000000"}, {2, "01010100"}, {3, "00110100"}, {4, "00010101"}});
  poke({{5, "11000111"}, {6, "11100111"}, {7, "10100000"}, {21, "00000001"}});
  runAtEveryRate();
}

// The counting loop (LOAD 31, ADD 30, STORE 31, BRANCH 0 with 1 at address 30) as the
// student switches themes: every frame after a switch shows the machine as it is, in the
// new theme's colours. (High Contrast writes a digit over each
// cell's centre, where this test reads.)
TEST_F(RunningPicture, SwitchingThemesKeepsEveryFrameTrue) {
  poke({{0, "00111111"}, {1, "00011110"}, {2, "01011111"}, {3, "10100000"}, {30, "00000001"}});
  QTimer switcher;
  int switches = 0;
  QObject::connect(&switcher, &QTimer::timeout, [this, &switches] {
    // Light, its colour-blind-safe variant (the same palette), Dark's, Dark.
    ++switches;
    qt::chooseTheme(switches % 4 < 2 ? frontend::ThemeChoice::Light : frontend::ThemeChoice::Dark,
                    switches % 4 == 1 || switches % 4 == 2, false);
    forgetMoments();
  });
  switcher.start(120);
  runAtEveryRate();
  EXPECT_GT(switches, 20);
  qt::chooseTheme(frontend::ThemeChoice::System, false, false);
}

}  // namespace
}  // namespace volpar::qttest
