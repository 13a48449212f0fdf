// The order of game folders, held to the system's own comparison (the one
// Explorer uses). Where Wine's comparison differs from Windows' a row says
// so and gives Wine's answer: the simulation follows Windows.
#include <gtest/gtest.h>

#include <string>

#include "ContractWorld.h"
#include "platform/Platform.h"

namespace {

struct OrderCase {
  const wchar_t* a;
  const wchar_t* b;
  int windows;                      // the sign of the comparison on Windows
  int wine = 0;                     // Wine's, where it differs
  const char* wineQuirk = nullptr;  // why it differs; none where it does not
};

// Windows' rows follow its documented rules: the word sort puts punctuation
// and symbols before digits and letters, and digits count as numbers. One
// row a rule.
const OrderCase kCases[] = {
    {L"[Demo]", L"_Test", -1},
    {L"~Old", L"+Plus", -1},  // not by code: + sorts with the signs
    {L"+Plus", L"Alpha", -1},
    {L"Doom 2", L"Doom2", -1, 1, "Wine puts a digit before every other character"},
    {L"Game 2", L"Game A", -1},
    // Digits as numbers, of any length; a number's leading zeros do not
    // count (Wine; Windows does not document the tie).
    {L"Game 9", L"Game 10", -1},
    {L"Game 10", L"Game 10a", -1},
    {L"Pack 99999999999", L"Pack 100000000000", -1},
    {L"Pack 2147483648", L"Pack 2147483647", 1, -1, "Wine's numbers wrap at 32 bits"},
    {L"Game 02", L"Game 2", 0},
    {L"Game 010", L"Game 9", 1},
    {L"x0", L"x", 1},
    // Letter case is ignored, in Latin, Cyrillic and accented letters.
    {L"ALPHA", L"beta", -1},
    {L"ИГРА", L"игра", 0},
    {L"ÉCLAIR", L"éclair", 0},
    {L"ЁЛКА", L"ёлка", 0},
    // Ё is a letter of its own after Е; an accented letter follows its
    // plain one and comes before the next letter; Latin before Cyrillic.
    {L"Ежевика", L"Ёж", -1},
    {L"Ёлка", L"Жук", -1},
    {L"Über", L"Uber", 1},
    {L"Dz", L"Éclair", -1},
    {L"Zeta", L"Арканоид", -1},
};

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(FolderOrderContract, PairsCompareAsOnWindows) {
  const bool wine = contract::UnderWine();
  for (const OrderCase& c : kCases) {
    const bool quirk = wine && c.wineQuirk != nullptr;
    const int expected = quirk ? c.wine : c.windows;
    // std::wstring in the messages: gtest prints it readably.
    SCOPED_TRACE(std::wstring(c.a) + L" vs " + std::wstring(c.b));
    SCOPED_TRACE(quirk ? std::string("a known Wine quirk: ") + c.wineQuirk : "");
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.a, c.b)), expected);
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.b, c.a)), -expected);
  }
}

}  // namespace
