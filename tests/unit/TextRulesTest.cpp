// The small text rules of start-up: splitting, numbers and truth values from
// the control file, Explorer's order.
#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "platform/Controls.h"
#include "platform/shared/FolderOrder.h"
#include "platform/shared/HintedSort.h"
#include "platform/sim/Sim.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/TextSegmentModule.h"

namespace {

using TextSegmentModule::TextSegment;

struct SegmentCase {
  const wchar_t* text;
  const wchar_t* separator;
  std::int32_t index;
  const wchar_t* piece;
  std::int32_t indexAfter;
};

TEST(TextSegmentTest, EveryPieceWhereItLies) {
  // A piece beyond the last gives the last and lowers the index to it; piece
  // 0 gives the count; one piece is given whole whatever the index.
  const SegmentCase cases[] = {
      {L"D:\\Disc\\games\\Game 1", L"\\", 100000, L"Game 1", 4},
      {L"a\\b\\c", L"\\", 2, L"b", 2},
      {L"a\\b\\c", L"\\", 0, L"3", 0},
      {L"", L"\\", 0, L"0", 0},
      {L"whole", L"\\", 1, L"whole", 1},
      {L"whole", L"\\", 100000, L"whole", 100000},
      {L"a::b::", L"::", 3, L"", 3},
      {L"a\\b\\c", L"\\", 1, L"a", 1},
      {L"a\\b\\c", L"\\", 3, L"c", 3},
      {L"a\\b\\c", L"\\", 4, L"c", 3},
      {L"a\\b\\c", L"\\", -1, L"", -1},
      {L"\\a", L"\\", 1, L"", 1},
      {L"\\a", L"\\", 2, L"a", 2},
      {L"a\\\\b", L"\\", 2, L"", 2},
      {L"one::two::three", L"::", 2, L"two", 2},
      {L"one:::two", L"::", 2, L":two", 2},
      {L"abc", L"", 5, L"abc", 5},
      {L"abc", L"abcd", 2, L"abc", 2},
  };
  for (const SegmentCase& c : cases) {
    std::int32_t index = c.index;
    EXPECT_EQ(TextSegment(c.text, c.separator, index), c.piece)
        << "piece " << c.index << " of " << ::testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(index, c.indexAfter);
  }
  EXPECT_EQ(TextSegmentModule::CountSegments(L"\\\\", L"\\"), 3);
  EXPECT_EQ(TextSegmentModule::CountSegments(L"aaaa", L"aa"), 3) << "separators do not overlap";
  EXPECT_EQ(TextSegmentModule::CountSegments(L"aXbxc", L"X"), 2) << "the case counts";
}

struct NumberCase {
  const wchar_t* text;
  std::optional<std::int32_t> value;
};

TEST(IniValueTest, WholeNumbersRoundHalvesToEven) {
  const NumberCase cases[] = {
      {L"0", 0},
      {L"1", 1},
      {L"2", 2},
      {L"0.5", 0},
      {L"1.5", 2},
      {L"2.5", 2},
      {L"2.4", 2},
      {L"3.5", 4},
      {L"-1.5", -2},
      {L"  7abc", 7},
      {L"word", 0},
      {L"", 0},
      {L".5", 0},
      {L"1e1", 10},
      {L"1e", 1},
      {L"+2", 2},
      {L"2147483647", 2147483647},
      {L"2147483648", std::nullopt},
      {L"-2147483648", -2147483647 - 1},
      {L"1e300", std::nullopt},
      {L"1.", 1},
  };
  for (const NumberCase& c : cases)
    EXPECT_EQ(IniValueModule::ToWholeNumber(c.text), c.value) << c.text;
}

// A value read into a buffer of any size: cut to one character less than
// the buffer, a quoted one losing its quotes only where it fits.
TEST(IniLookUpTest, ValuesCutToTheBufferQuotesAndAll) {
  struct Case {
    const wchar_t* value;
    std::size_t bufferSize;
    const wchar_t* read;
  };
  const Case cases[] = {
      {L"abc", 255, L"abc"},  {L"abc", 3, L"ab"},        {L"abc", 1, L""},
      {L"abc", 0, L""},       {L"\"abc\"", 255, L"abc"}, {L"\"abc\"", 5, L"abc"},
      {L"\"abc\"", 4, L"ab"}, {L"\"abc\"", 3, L"ab"},    {L"'a'", 2, L""},
      {L"\"\"", 255, L""},    {L"\"\"", 2, L""},         {L"\"\"", 1, L""},  // a fuzz finding
      {L"''", 1, L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IniEditorModule::LookUp(std::wstring(L"[main]\r\nkey=") + c.value + L"\r\n", L"main",
                                      L"key", L"0", c.bufferSize),
              c.read)
        << c.value << " into " << c.bufferSize;
}

TEST(IniValueTest, TruthValues) {
  for (const wchar_t* yes : {L"1", L"-1", L"true", L"TRUE", L"tRuE", L" 2.5 ", L"1e3"})
    EXPECT_TRUE(IniValueModule::ToTruthValue(yes)) << yes;
  for (const wchar_t* no : {L"0", L"false", L"False", L"", L"yes", L"1x", L"0.0", L"truey", L" "})
    EXPECT_FALSE(IniValueModule::ToTruthValue(no)) << no;
}

TEST(FolderOrderTest, NamesSortAsExplorerShowsThem) {
  std::vector<std::wstring> names = {L"Game 10", L"game 2", L"Ёлка",    L"Game 1", L"Zeta",
                                     L"~Old",    L"alpha",  L"Игра 3",  L"ёж",     L"[Demo]",
                                     L"игра 20", L"Éclair", L"Ель",     L"_Test",  L"Жук",
                                     L"Game 03", L"B",      L"Арканоид"};
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return platform::CompareLikeExplorer(a, b) < 0;
  });
  EXPECT_EQ(names, (std::vector<std::wstring>{L"[Demo]", L"_Test", L"~Old", L"alpha", L"B",
                                              L"Éclair", L"Game 1", L"game 2", L"Game 03",
                                              L"Game 10", L"Zeta", L"Арканоид", L"Ель", L"ёж",
                                              L"Ёлка", L"Жук", L"Игра 3", L"игра 20"}));
}

// What the system leaves open or Wine cannot show: the model's own choices.
TEST(FolderOrderTest, TheModelsOwnChoices) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    int sign;
  };
  const Case cases[] = {
      {L"a99999999999999999999", L"a100000000000000000000", -1},  // longer than any integer
      {L"a000", L"a0", 0},                                        // zeros: all leading
      {L"Éa", L"Eb", 1},  // an accent decides at its own letter
      {L"Ǆ", L"Ω", -1},   // unlisted characters by code, after the letters
      {L"Я", L"Ω", -1},
      {L"a\x01"
       L"b",
       L"ab", -1},                 // controls come first
      {L"\xD83D\xDE00", L"z", 1},  // surrogates too are letters after those listed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::CompareLikeExplorer(c.a, c.b), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(platform::CompareLikeExplorer(c.b, c.a), -c.sign) << c.b << " vs " << c.a;
  }
}

// Folders the comparison calls equal (possible where names are case
// sensitive) are listed in one fixed order, however the system enumerates them.
TEST(FolderOrderTest, EqualNamesKeepOneOrder) {
  const platform::ControlLayout folders = {
      L"drGame", platform::ControlKind::FolderList, 0, 0, 300, 300, -1, nullptr, nullptr, true,
      false};
  const platform::FormLayout layout = {L"Order", 600, 600, false, true, false, &folders, 1, -1, -1};
  struct NoEvents final : platform::FormEvents {
  } events;
  platform::Form form(layout, events);
  const std::vector<std::wstring> names = {L"game 2", L"Game 02", L"GAME 2", L"Game 1"};
  for (bool reversed : {false, true}) {
    sim::ResetWorld();
    sim::AddFolder(L"D:\\games");
    for (std::size_t k = 0; k < names.size(); ++k)
      sim::AddFolder(L"D:\\games\\" + names[reversed ? names.size() - 1 - k : k]);
    platform::DirListBox list(form, 0);
    ASSERT_TRUE(list.SetPath(L"D:\\games"));
    std::vector<std::wstring> listed;
    for (int i = 0; i < list.ListCount(); ++i) listed.push_back(list.List(i).substr(9));
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"Game 1", L"GAME 2", L"Game 02", L"game 2"}))
        << (reversed ? "reversed" : "as added");
  }
}

// The system's order whatever the quick pass says; about one comparison of
// the system's a name when the quick pass is right but for a few names.
TEST(FolderOrderTest, TheQuickPassNeverChangesTheOrder) {
  std::vector<int> items(2000);
  std::iota(items.begin(), items.end(), 0);
  std::shuffle(items.begin(), items.end(), std::mt19937(7));
  std::vector<int> sorted = items;
  std::sort(sorted.begin(), sorted.end());
  struct Hint {
    const char* name;
    bool (*less)(int, int);
    std::size_t mostComparisons;
  };
  const Hint hints[] = {
      {"right", [](int a, int b) { return a < b; }, 2 * 2000},
      {"right but for a few",
       [](int a, int b) { return (a % 500 ? a : a + 3) < (b % 500 ? b : b + 3); }, 2 * 2000},
      {"backwards", [](int a, int b) { return a > b; }, 40 * 2000},
      {"unrelated", [](int a, int b) { return a % 7 < b % 7; }, 40 * 2000},
  };
  for (const Hint& hint : hints) {
    std::vector<int> v = items;
    std::size_t comparisons = 0;
    platform::HintedSort(v, hint.less, [&comparisons](int a, int b) {
      ++comparisons;
      return a < b;
    });
    EXPECT_EQ(v, sorted) << hint.name;
    EXPECT_LE(comparisons, hint.mostComparisons) << hint.name;
  }
}

}  // namespace
