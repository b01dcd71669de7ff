// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/form_state.h"
#include "ui/element.h"
#include "ui/form.h"
#include "ui/text_value.h"

namespace volpar::ui {
namespace {

struct Recorder : FormObserver {
  std::vector<std::string> changed;
  void elementChanged(Element& e) override { changed.push_back(e.displayName()); }
  void formChanged(Form&, FormEvent) override {}
};

// A text handler runs before the setter returns and only for a new text, re-entered at once
// when it rewrites its own box; the observer hears only real changes; a disabled or hidden
// frame keeps clicks from its buttons. Then what an undo journal does: hear each change with
// the value it replaces, then put the values back in reverse. The model ends as it began and
// no handler runs on the way back.
TEST(ElementModel, HandlersObserverAndJournalSeeOnlyRealChangesAndUndoThemAll) {
  struct Journal : ChangeRecorder {
    std::vector<std::function<void()>> undo;
    void willChange(Form& f, Element* e, Property p, const PropertyValue& old) override {
      undo.push_back([&f, e, p, old] { e ? e->restore(p, old) : f.restore(p, old); });
    }
  };
  Form form("F");
  Shape cell(form, "cell");
  Label caption(form, "caption");
  TextBox box(form, "box");
  OptionButton a(form, "a"), b(form, "b");
  CheckBox check(form, "check");
  HScrollBar scroll(form, "scroll");
  Timer timer(form, "timer");
  CommandButton ok(form, "ok");
  Frame frame(form, "frame");
  Recorder rec;
  form.setObserver(&rec);
  std::vector<std::string> seen;
  box.onChange = [&] {
    seen.push_back(box.Text());
    if (box.Text() == "7") box.setText("0");
  };
  box.setText("1"), box.setText("1"), box.setText("7");
  cell.setFillColor(kWhite);  // already white
  cell.setFillColor(kYellow), cell.setFillColor(kYellow);
  caption.setCaption("17"), caption.setCaption("17");
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "7", "0"}));
  EXPECT_EQ(rec.changed, (std::vector<std::string>{"box", "box", "box", "cell", "caption"}));
  ok.setContainer(&frame);
  int clicks = 0;
  ok.onClick = [&] { ++clicks; };
  ok.click();
  frame.setEnabled(false), ok.click();
  frame.setEnabled(true), frame.setVisible(false), ok.click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(ok.shownOnScreen());

  a.setValue(true), box.setText("12");
  int handlers = 0;
  for (auto* h : {&box.onChange, &b.onClick, &a.onClick, &check.onClick, &scroll.onChange})
    *h = [&] { ++handlers; };
  const std::vector<std::string> before = testing::formState(form);
  Journal journal;
  form.setRecorder(&journal);
  rec.changed.clear();

  cell.setFillColor(kBlack), caption.setCaption("5"), box.setSelection(1, 1), box.setText("7");
  box.type("70", 2), b.setValue(true), check.setValue(1), scroll.setValue(40);
  timer.setInterval(10), timer.setEnabled(false), ok.setVisible(false), ok.setDefault(true);
  box.SetFocus(), form.Show();
  ASSERT_NE(testing::formState(form), before);
  const int forwardHandlers = handlers;

  for (auto it = journal.undo.rbegin(); it != journal.undo.rend(); ++it) (*it)();
  EXPECT_EQ(testing::formState(form), before);
  EXPECT_EQ(handlers, forwardHandlers);
  EXPECT_EQ(journal.undo.size(), 17U);  // each real change once, nothing for restoring
  EXPECT_FALSE(rec.changed.empty());
}

}  // namespace
}  // namespace volpar::ui
