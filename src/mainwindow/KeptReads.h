// What was read of the disc, kept so that it comes back without the drive:
// up to a budget of memory, beyond which the least recently used goes first.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

template <typename T>
class KeptReads {
 public:
  explicit KeptReads(std::size_t budgetBytes) : budget_(budgetBytes) {}

  // What is kept under `key`, or null; it counts as used now.
  std::shared_ptr<const T> Find(const std::wstring& key) {
    for (Item& item : items_) {
      if (item.key != key) continue;
      item.used = ++clock_;
      return item.value;
    }
    return nullptr;
  }

  // Keeps `value`, which takes `bytes` of memory, in place of what was kept
  // under `key`; a value larger than the whole budget is not kept.
  void Keep(const std::wstring& key, std::shared_ptr<const T> value, std::size_t bytes) {
    Forget(key);
    if (bytes > budget_) return;
    while (total_ + bytes > budget_) Forget(LeastRecentlyUsed());
    items_.push_back({key, std::move(value), bytes, ++clock_});
    total_ += bytes;
  }

  std::size_t Bytes() const { return total_; }

 private:
  struct Item {
    std::wstring key;
    std::shared_ptr<const T> value;
    std::size_t bytes;
    unsigned long used;
  };

  void Forget(const std::wstring& key) {
    for (auto item = items_.begin(); item != items_.end(); ++item) {
      if (item->key != key) continue;
      total_ -= item->bytes;
      items_.erase(item);
      return;
    }
  }

  std::wstring LeastRecentlyUsed() const {
    const Item* oldest = &items_.front();
    for (const Item& item : items_)
      if (item.used < oldest->used) oldest = &item;
    return oldest->key;
  }

  std::vector<Item> items_;
  std::size_t budget_;
  std::size_t total_ = 0;
  unsigned long clock_ = 0;
};
