// The small text rules of start-up: what a control-file value reads as, the
// order of game folders, and the version's texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "Version.h"
#include "platform/shared/HintedSort.h"
#include "startup/IniValueModule.h"

namespace {

// A value as a whole number (halves to even), whether it is a number and
// nothing else, and as a truth value (a number, true or false, or neither).
TEST(IniValueTest, WhatAValueReadsAs) {
  const std::optional<bool> neither;
  const struct {
    const wchar_t* text;
    std::optional<std::int32_t> whole;
    bool number;
    std::optional<bool> truth;
  } cases[] = {
      {L"2.5", 2, true, true},
      {L" 3.5e0 ", 4, true, true},
      {L".5", 0, true, true},
      {L"  7abc", 7, false, neither},
      {L"1e", 1, false, neither},
      {L"+", 0, false, neither},
      {L"2147483647", 2147483647, true, true},
      {L"2147483648", std::nullopt, true, true},
      {L"-2147483648", -2147483647 - 1, true, true},
      {L" tRuE ", 0, false, true},
      {L"False", 0, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniValueModule::ToWholeNumber(c.text), c.whole) << c.text;
    EXPECT_EQ(IniValueModule::IsNumber(c.text), c.number) << c.text;
    EXPECT_EQ(IniValueModule::ReadTruthValue(c.text), c.truth) << c.text;
  }
}

// The slow comparison's order whatever the quick one says; about one slow
// comparison an item when the quick one is right but for a few.
TEST(HintedSortTest, TheQuickPassNeverChangesTheOrder) {
  std::vector<int> sorted(2000);
  std::iota(sorted.begin(), sorted.end(), 0);
  const std::pair<bool (*)(int, int), std::size_t> hints[] = {
      {[](int a, int b) { return (a % 500 ? a : a + 3) < (b % 500 ? b : b + 3); }, 2 * 2000},
      {[](int a, int b) { return a > b; }, 40 * 2000},
  };
  for (const auto& [fastLess, most] : hints) {
    std::vector<int> v = sorted;
    std::shuffle(v.begin(), v.end(), std::mt19937(7));
    std::size_t comparisons = 0;
    platform::HintedSort(v, fastLess, [&comparisons](int a, int b) {
      ++comparisons;
      return a < b;
    });
    EXPECT_EQ(v, sorted);
    EXPECT_LE(comparisons, most);
  }
}

// The version as this release gives it: in the title, and in the version
// resource's strings (the minor number in two digits, the revision in four).
TEST(VersionTest, TheTextsOfThisRelease) {
  EXPECT_STREQ(VARNOLT_VERSION_TEXT, "1.1.3");
  EXPECT_STREQ(VARNOLT_VERSION_RESOURCE_TEXT, "1.01.0003");
}

}  // namespace
