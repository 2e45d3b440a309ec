// Scripting.Dictionary as the component uses it: keys are case-sensitive
// texts, items come back in insertion order, and adding a key that is already
// present is error 457.
#ifndef MX_PLATFORM_ORDERED_DICT_H_
#define MX_PLATFORM_ORDERED_DICT_H_

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "movx20xmlgen/error.h"

namespace mx {

template <typename V>
class OrderedDict {
 public:
  using Entry = std::pair<std::string, V>;

  void Add(std::string key, V item) {
    if (index_.count(key) != 0) throw errors::KeyExists();
    index_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), std::move(item));
  }
  bool Exists(const std::string& key) const { return index_.count(key) != 0; }
  // nullptr when absent (Item of a missing key would add it; we never want
  // that).
  const V* Find(const std::string& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  V* Find(const std::string& key) {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  void RemoveAll() {
    entries_.clear();
    index_.clear();
  }
  size_t Count() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  typename std::vector<Entry>::const_iterator begin() const {
    return entries_.begin();
  }
  typename std::vector<Entry>::const_iterator end() const {
    return entries_.end();
  }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace mx

#endif  // MX_PLATFORM_ORDERED_DICT_H_
