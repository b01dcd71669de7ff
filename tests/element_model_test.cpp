#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/element.h"
#include "ui/form.h"

namespace volpar::ui {
namespace {

struct Recorder : FormObserver {
  std::vector<std::string> changed;
  void elementChanged(Element& e) override { changed.push_back(e.displayName()); }
  void formChanged(Form&, FormEvent) override {}
};

TEST(ElementModel, TextChangeRaisesHandlerBeforeSetterReturnsAndOnlyForNewText) {
  Form form("F");
  TextBox box(form, "box");
  std::vector<std::string> seen;
  box.onChange = [&] { seen.push_back(box.Text()); };
  box.setText("1");
  EXPECT_EQ(seen, std::vector<std::string>{"1"});
  box.setText("1");
  EXPECT_EQ(seen.size(), 1U);
  // A handler that rewrites its own box is re-entered at once with the new text.
  box.onChange = [&] {
    seen.push_back(box.Text());
    if (box.Text() != "0") box.setText("0");
  };
  box.setText("7");
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "7", "0"}));
}

TEST(ElementModel, ObserverHearsOnlyRealChanges) {
  Form form("F");
  Shape cell(form, "cell");
  Label caption(form, "caption");
  Recorder rec;
  form.setObserver(&rec);
  cell.setFillColor(kWhite);  // already white
  cell.setFillColor(kYellow);
  cell.setFillColor(kYellow);
  caption.setCaption("17");
  caption.setCaption("17");
  EXPECT_EQ(rec.changed, (std::vector<std::string>{"cell", "caption"}));
}

TEST(ElementModel, DisabledOrHiddenButtonsIgnoreClicksAndFramesReachTheirContents) {
  Form form("F");
  Frame frame(form, "frame");
  CommandButton button(form, "button");
  button.setContainer(&frame);
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  button.click();
  frame.setEnabled(false);
  button.click();
  frame.setEnabled(true);
  frame.setVisible(false);
  button.click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button.shownOnScreen());
}

}  // namespace
}  // namespace volpar::ui
