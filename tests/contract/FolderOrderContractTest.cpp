// The order of game folders, held to the system's own comparison (the one
// Explorer uses). Where Wine's comparison differs from Windows' a row says
// so and gives Wine's answer: the simulation follows Windows.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "ContractWorld.h"
#include "platform/Controls.h"
#include "platform/Platform.h"

namespace {

constexpr int kSameAsWindows = 2;

struct OrderCase {
  const wchar_t* a;
  const wchar_t* b;
  int windows;            // the sign of the comparison on Windows
  int wine;               // Wine's, where it differs (kSameAsWindows where not)
  const char* wineQuirk;  // why Wine differs
};

// Windows' rows follow its documented rules: the word sort puts punctuation
// and symbols before digits and letters, and digits count as numbers.
constexpr const char* kDigitsFirst = "Wine puts a digit before every other character";
constexpr const char* kWraps = "Wine reads a run of digits into a 32-bit integer that wraps";

const OrderCase kCases[] = {
    // Punctuation and symbols before numbers, numbers before letters.
    {L"!Best", L"(Beta)", -1, kSameAsWindows, nullptr},
    {L"(Beta)", L"[Demo]", -1, kSameAsWindows, nullptr},
    {L"[Demo]", L"_Test", -1, kSameAsWindows, nullptr},
    {L"_Test", L"~Old", -1, kSameAsWindows, nullptr},
    {L"~Old", L"+Plus", -1, kSameAsWindows, nullptr},
    {L"+Plus", L"Alpha", -1, kSameAsWindows, nullptr},
    {L"~Old", L"Alpha", -1, kSameAsWindows, nullptr},
    {L"_Test", L"1st", -1, 1, kDigitsFirst},
    {L"~Old", L"2 Fast", -1, 1, kDigitsFirst},
    {L"Doom 2", L"Doom2", -1, 1, kDigitsFirst},
    {L"2 Fast", L"Alpha", -1, kSameAsWindows, nullptr},
    {L"Game 2", L"Game A", -1, kSameAsWindows, nullptr},
    // Digits compared as numbers.
    {L"Game 2", L"Game 10", -1, kSameAsWindows, nullptr},
    {L"Game 9", L"Game 10", -1, kSameAsWindows, nullptr},
    {L"Game 100", L"Game 99", 1, kSameAsWindows, nullptr},
    {L"a2b", L"a10b", -1, kSameAsWindows, nullptr},
    {L"Game 10", L"Game 10a", -1, kSameAsWindows, nullptr},
    {L"Game 1a", L"Game 2", -1, kSameAsWindows, nullptr},
    {L"Disc 1 Part 10", L"Disc 1 Part 9", 1, kSameAsWindows, nullptr},
    {L"Pack 99999999999", L"Pack 100000000000", -1, kSameAsWindows, nullptr},
    {L"Pack 2147483648", L"Pack 2147483647", 1, -1, kWraps},
    // Leading zeros: the value counts, the zeros do not (Wine; Windows does
    // not document the tie).
    {L"Game 02", L"Game 2", 0, kSameAsWindows, nullptr},
    {L"Game 02", L"Game 3", -1, kSameAsWindows, nullptr},
    {L"Game 010", L"Game 9", 1, kSameAsWindows, nullptr},
    {L"Game 007", L"Game 10", -1, kSameAsWindows, nullptr},
    {L"x0", L"x", 1, kSameAsWindows, nullptr},
    // Letter case is ignored: names equal but for case are equal.
    {L"alpha", L"Alpha", 0, kSameAsWindows, nullptr},
    {L"Game 2", L"GAME 2", 0, kSameAsWindows, nullptr},
    {L"ALPHA", L"beta", -1, kSameAsWindows, nullptr},
    {L"ИГРА", L"игра", 0, kSameAsWindows, nullptr},
    {L"ÉCLAIR", L"éclair", 0, kSameAsWindows, nullptr},
    {L"ЁЛКА", L"ёлка", 0, kSameAsWindows, nullptr},
    // Ё after Е, before Ж.
    {L"Ель", L"ёж", -1, kSameAsWindows, nullptr},
    {L"ёж", L"Ёлка", -1, kSameAsWindows, nullptr},
    {L"Ёлка", L"Жук", -1, kSameAsWindows, nullptr},
    {L"Ежевика", L"Ёж", -1, kSameAsWindows, nullptr},
    {L"Ё", L"Е", 1, kSameAsWindows, nullptr},
    {L"Арканоид", L"Ель", -1, kSameAsWindows, nullptr},
    // Accented Latin: after the plain letter, before the next one.
    {L"Eclair", L"Éclair", -1, kSameAsWindows, nullptr},
    {L"Alpha", L"Éclair", -1, kSameAsWindows, nullptr},
    {L"Dz", L"Éclair", -1, kSameAsWindows, nullptr},
    {L"Éclair", L"Game 2", -1, kSameAsWindows, nullptr},
    {L"Über", L"Uber", 1, kSameAsWindows, nullptr},
    {L"Über", L"Vier", -1, kSameAsWindows, nullptr},
    {L"Ñu", L"Nu", 1, kSameAsWindows, nullptr},
    {L"Ñu", L"Oz", -1, kSameAsWindows, nullptr},
    // Latin before Cyrillic.
    {L"Zeta", L"Арканоид", -1, kSameAsWindows, nullptr},
};

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// The test's names are ASCII where they are printed.
std::string Narrow(const wchar_t* s) {
  std::string out;
  for (; *s != 0; ++s) out += *s < 0x80 ? static_cast<char>(*s) : '?';
  return out;
}

TEST(FolderOrderContract, PairsCompareAsOnWindows) {
  const bool wine = contract::UnderWine();
  for (const OrderCase& c : kCases) {
    const bool quirk = wine && c.wine != kSameAsWindows;
    const int expected = quirk ? c.wine : c.windows;
    const std::string note = quirk ? std::string(" (a known Wine quirk: ") + c.wineQuirk + ")" : "";
    // std::wstring in the messages: gtest prints it readably.
    if (quirk)
      std::cout << "known Wine quirk: " << Narrow(c.a) << " vs " << Narrow(c.b) << " gives "
                << c.wine << ", Windows " << c.windows << " (" << c.wineQuirk << ")\n";
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.a, c.b)), expected)
        << std::wstring(c.a) << L" vs " << std::wstring(c.b) << note;
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.b, c.a)), -expected)
        << std::wstring(c.b) << L" vs " << std::wstring(c.a) << note;
  }
}

// The game folders of a disc, listed as Explorer lists them.
TEST(FolderOrderContract, GameFoldersAreListedInExplorersOrder) {
  const std::wstring dir = contract::ScratchFolder(L"order");
  const std::vector<std::wstring> explorer = {
      L"[Demo]", L"_Test",    L"~Old", L"Alpha", L"Éclair", L"Game 2", L"Game 10",
      L"Zeta",   L"Арканоид", L"Ель",  L"ёж",    L"Ёлка",   L"Жук"};
  for (const wchar_t* name : {L"Жук", L"Game 10", L"ёж", L"Zeta", L"_Test", L"Ёлка", L"Alpha",
                              L"~Old", L"Арканоид", L"Éclair", L"[Demo]", L"Ель", L"Game 2"})
    contract::MakeFolder(dir + name);

  using platform::ControlKind;
  const platform::ControlLayout folders = {
      L"drGame", ControlKind::FolderList, 0, 0, 300, 300, -1, nullptr, nullptr, true, false};
  const platform::FormLayout layout = {L"Order", 600, 600, false, true, false, &folders, 1, -1, -1};
  struct NoEvents final : platform::FormEvents {
  } events;
  platform::Form form(layout, events);
  platform::DirListBox list(form, 0);
  ASSERT_TRUE(list.SetPath(dir));
  std::vector<std::wstring> listed;
  for (int i = 0; i < list.ListCount(); ++i) listed.push_back(list.List(i).substr(dir.size()));
  EXPECT_EQ(listed, explorer);
}

}  // namespace
