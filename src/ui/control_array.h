// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace volpar::ui {

class Form;

// A control array with fixed index bounds. An index outside them does not exist:
// asking for one is a programming error and throws, never touching other memory.
template <class T>
class ControlArray {
 public:
  ControlArray(Form& form, const std::string& name, int lbound, int ubound)
      : lbound_(lbound), ubound_(ubound), span_(static_cast<unsigned>(ubound - lbound)) {
    items_.reserve(static_cast<std::size_t>(ubound - lbound + 1));
    for (int i = lbound; i <= ubound; ++i) items_.push_back(std::make_unique<T>(form, name, i));
  }

  T& operator()(int index) { return *items_[slot(index)]; }
  const T& operator()(int index) const { return *items_[slot(index)]; }

  // Elements first..last in index order, the bounds checked once: the engine walks the
  // cells of a register or a memory byte this way.
  using Run = std::span<const std::unique_ptr<T>>;
  Run run(int first, int last) const {
    const std::size_t begin = slot(first);
    const std::size_t end = slot(last) + 1;
    if (end <= begin) [[unlikely]]
      outOfBounds(last);
    return Run(items_.data() + begin, end - begin);
  }

  int LBound() const { return lbound_; }
  int UBound() const { return ubound_; }
  std::size_t size() const { return items_.size(); }

  // Iterates the elements in index order.
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  // Every cell access of the engine passes here: the check stays small enough to inline
  // and the message is built out of line.
  std::size_t slot(int index) const {
    const unsigned slot = static_cast<unsigned>(index) - static_cast<unsigned>(lbound_);
    if (slot > span_) [[unlikely]]
      outOfBounds(index);
    return slot;
  }

  [[noreturn, gnu::noinline, gnu::cold]] void outOfBounds(int index) const {
    throw std::out_of_range(items_.front()->name() + "(" + std::to_string(index) +
                            ") does not exist: bounds are " + std::to_string(lbound_) + " to " +
                            std::to_string(ubound_));
  }

  int lbound_;
  int ubound_;
  unsigned span_;  // ubound - lbound
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace volpar::ui
