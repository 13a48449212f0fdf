// Sorting with a slow comparison and a fast one that nearly always agrees
// with it: the fast one puts the items almost in place, and the slow one
// then only moves the few the two disagree on, with about one comparison an
// item. Where they disagree on many, the slow one sorts the items itself.
// The result is always the slow comparison's order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace platform {

template <typename T, typename FastLess, typename Less>
void HintedSort(std::vector<T>& items, FastLess fastLess, Less less) {
  std::stable_sort(items.begin(), items.end(), fastLess);
  // An insertion sort costs a comparison for each step an item moves: fine
  // for a handful of misplaced items, quadratic for a wrong hint.
  std::size_t stepsLeft = 4 * items.size() + 64;
  for (std::size_t i = 1; i < items.size(); ++i) {
    for (std::size_t j = i; j > 0 && less(items[j], items[j - 1]); --j) {
      std::swap(items[j], items[j - 1]);
      if (--stepsLeft == 0) {
        std::stable_sort(items.begin(), items.end(), less);
        return;
      }
    }
  }
}

}  // namespace platform
