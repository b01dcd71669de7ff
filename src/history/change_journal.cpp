// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/change_journal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "ui/element.h"
#include "ui/form.h"

namespace volpar::history {

namespace {
constexpr std::size_t kShortTextMax = 4;
}

bool ChangeJournal::isFormProperty(ui::Property property) {
  return property == ui::Property::FormVisible || property == ui::Property::Focus ||
         property == ui::Property::DefaultButton;
}

void ChangeJournal::record(ui::Form& form, ui::Element* element, ui::Property property,
                           const ui::PropertyValue& old) {
  Change c{isFormProperty(property) ? static_cast<void*>(&form) : static_cast<void*>(element), 0,
           property, kNumber};
  if (const auto* number = std::get_if<std::int64_t>(&old)) {
    // Colours, flags, values and selections all fit 32 bits; the sign comes back on undo.
    c.value = static_cast<std::uint32_t>(*number);
  } else if (const auto* text = std::get_if<std::string>(&old);
             text && text->size() <= kShortTextMax) {
    std::memcpy(&c.value, text->data(), text->size());
    c.encoding = static_cast<std::uint8_t>(kShortText + text->size());
  } else {
    asides_.push_back(old);
    c.encoding = kKeptAside;
  }
  changes_.push_back(c);
}

ui::PropertyValue ChangeJournal::oldValue(Position at) const {
  const Change& c = change(at);
  if (c.encoding == kNumber) return std::int64_t{static_cast<std::int32_t>(c.value)};
  if (c.encoding >= kShortText) {
    return std::string(reinterpret_cast<const char*>(&c.value), c.encoding - kShortText);
  }
  // Changes kept aside are in the same order as their changes: count those before it.
  std::size_t index = 0;
  for (Position p = base_; p < at; ++p) index += change(p).encoding == kKeptAside ? 1 : 0;
  return asides_[index];
}

ui::Element* ChangeJournal::element(Position at) const {
  const Change& c = change(at);
  return isFormProperty(c.property) ? nullptr : static_cast<ui::Element*>(c.target);
}

// Each property is put back once, to the value its oldest change replaced: the values in
// between would only be overwritten, and every restore is a repaint for the windows (going
// back over a long run would otherwise queue one per change ever made). The restores keep
// the order that undoing every change would end with.
void ChangeJournal::undoTo(Position position) {
  const auto key = [](const Change& c) { return std::pair{c.target, c.property}; };
  std::map<std::pair<void*, ui::Property>, Position> oldest;
  for (Position p = std::max(position, base_); p < end(); ++p)
    oldest.try_emplace(key(change(p)), p);
  while (end() > position && !changes_.empty()) {
    const Change c = changes_.back();
    const bool putBack = oldest.at(key(c)) == end() - 1;
    ui::PropertyValue old;
    if (c.encoding == kKeptAside) {
      old = std::move(asides_.back());
      asides_.pop_back();
    } else if (putBack) {
      old = oldValue(end() - 1);
    }
    changes_.pop_back();
    if (!putBack) continue;
    if (isFormProperty(c.property)) {
      static_cast<ui::Form*>(c.target)->restore(c.property, old);
    } else {
      static_cast<ui::Element*>(c.target)->restore(c.property, old);
    }
  }
}

void ChangeJournal::forgetBefore(Position position) {
  while (base_ < position && !changes_.empty()) {
    if (changes_.front().encoding == kKeptAside) asides_.pop_front();
    changes_.pop_front();
    ++base_;
  }
}

std::size_t ChangeJournal::memoryBytes() const {
  std::size_t bytes = changes_.size() * sizeof(Change) + asides_.size() * sizeof(ui::PropertyValue);
  for (const ui::PropertyValue& v : asides_) {
    if (const auto* text = std::get_if<std::string>(&v); text && text->capacity() > 15) {
      bytes += text->capacity();
    }
  }
  return bytes;
}

}  // namespace volpar::history
