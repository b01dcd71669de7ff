// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <unordered_map>
#include <utility>

namespace volpar::qt {

// Drawing results kept for reuse. Only a window resized many times over makes new keys
// without end: past kLimit entries the cache starts again from empty.
template <class Key, class Value, class Hash>
class BoundedCache {
 public:
  static constexpr std::size_t kLimit = 4096;

  // The value for the key, made by make() the first time.
  template <class Make>
  const Value& get(Key key, Make make) {
    if (auto it = map_.find(key); it != map_.end()) return it->second;
    if (map_.size() > kLimit) map_.clear();
    return map_.emplace(std::move(key), make()).first->second;
  }

 private:
  std::unordered_map<Key, Value, Hash> map_;
};

}  // namespace volpar::qt
