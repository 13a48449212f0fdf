// The small text rules of start-up: splitting, numbers and truth values from
// the control file, Explorer's order.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/FolderOrder.h"
#include "platform/sim/Sim.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/TextSegmentModule.h"

namespace {

using TextSegmentModule::TextSegment;

TEST(TextSegmentTest, PiecesCountsAndTheLoweredIndex) {
  std::int32_t index = 100000;
  EXPECT_EQ(TextSegment(L"D:\\Disc\\games\\Game 1", L"\\", index), L"Game 1");
  EXPECT_EQ(index, 4);
  index = 2;
  EXPECT_EQ(TextSegment(L"a\\b\\c", L"\\", index), L"b");
  EXPECT_EQ(index, 2);
  index = 0;
  EXPECT_EQ(TextSegment(L"a\\b\\c", L"\\", index), L"3");
  EXPECT_EQ(TextSegment(L"", L"\\", index), L"0");
  for (std::int32_t any : {1, 7, 100000}) {
    index = any;
    EXPECT_EQ(TextSegment(L"whole", L"\\", index), L"whole");
    EXPECT_EQ(index, any) << "one piece: the index is left alone";
  }
  index = 3;
  EXPECT_EQ(TextSegment(L"a::b::", L"::", index), L"")
      << "a trailing separator ends in an empty piece";
  EXPECT_EQ(TextSegmentModule::CountSegments(L"aXbxc", L"X"), 2)
      << "the separator matches case-sensitively";
}

struct SegmentCase {
  const wchar_t* text;
  const wchar_t* separator;
  std::int32_t index;
  const wchar_t* piece;
  std::int32_t indexAfter;
};

TEST(TextSegmentTest, EveryPieceWhereItLies) {
  const SegmentCase cases[] = {
      {L"a\\b\\c", L"\\", 1, L"a", 1},      {L"a\\b\\c", L"\\", 3, L"c", 3},
      {L"a\\b\\c", L"\\", 4, L"c", 3},      {L"a\\b\\c", L"\\", -1, L"", -1},
      {L"\\a", L"\\", 1, L"", 1},           {L"\\a", L"\\", 2, L"a", 2},
      {L"a\\\\b", L"\\", 2, L"", 2},        {L"one::two::three", L"::", 2, L"two", 2},
      {L"one:::two", L"::", 2, L":two", 2}, {L"abc", L"", 5, L"abc", 5},
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

}  // namespace
