// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/change_recorder.h"
#include "ui/colors.h"

namespace volpar::ui {

class CommandButton;
class Element;
class Form;

// A form as it stands now: every property that changes after it is built (those a
// recorder hears of), of the form and of each element. Putting it back compares each
// one and restores those that differ, as a recorder's values are restored: no handler
// runs. Where nothing listens to each change, this is cheaper than journaling thousands
// of changes to put back a few hundred properties.
class FormSnapshot {
 public:
  explicit FormSnapshot(Form& form);
  void restore() const;

 private:
  struct Saved {
    Element* element;
    Color back, fore;
    bool enabled, visible;
    Property numberProperty;  // the element's own number (fill, value...), if it has one
    std::int64_t number;
    Property textProperty;  // its caption or text, if it has one
    std::string text;
  };
  static Saved save(Element& element);
  static void restore(const Saved& saved);

  Form& form_;
  bool visible_;
  Element* focused_;
  CommandButton* defaultButton_;
  std::vector<Saved> elements_;
};

}  // namespace volpar::ui
