// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>

#include "ui/change_recorder.h"

namespace volpar::history {

// Every property change of the forms it listens to, with the value it replaced, in order.
// Undoing puts each property back to the value its oldest undone change replaced. A change takes 16
// bytes; a text of more than four characters or an element (focus, default button) is kept aside.
class ChangeJournal {
 public:
  // Changes are numbered from the first ever recorded: a position stays valid when older
  // changes are forgotten.
  using Position = std::uint64_t;

  Position begin() const { return base_; }
  Position end() const { return base_ + changes_.size(); }

  void record(ui::Form& form, ui::Element* element, ui::Property property,
              const ui::PropertyValue& old);
  // Puts back what every change from `position` on replaced, and forgets them: each
  // property once, to its oldest value there.
  void undoTo(Position position);
  // Forgets the changes before `position`: they can no longer be undone.
  void forgetBefore(Position position);
  void clear() { forgetBefore(end()); }

  // The changed element of change `at` (null for a property of the form) and its old value.
  ui::Element* element(Position at) const;
  ui::Property property(Position at) const { return change(at).property; }
  ui::PropertyValue oldValue(Position at) const;

  std::size_t memoryBytes() const;

 private:
  enum Encoding : std::uint8_t { kNumber, kKeptAside, kShortText /* + length, 0 to 4 */ };
  struct Change {
    void* target;  // the element, or the form for its own properties
    std::uint32_t value;
    ui::Property property;
    std::uint8_t encoding;
  };
  static bool isFormProperty(ui::Property property);
  const Change& change(Position at) const { return changes_[at - base_]; }

  std::deque<Change> changes_;
  Position base_ = 0;
  std::deque<ui::PropertyValue> asides_;
};

}  // namespace volpar::history
