// The order of game folders, held to the system's own comparison (the one
// Explorer uses). Where Wine's comparison differs from Windows' a row says
// so and gives Wine's answer: the simulation follows Windows.
#include <gtest/gtest.h>

#include <string>

#include "ContractWorld.h"
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
// and symbols before digits and letters, and digits count as numbers. One
// row a rule.
const OrderCase kCases[] = {
    {L"[Demo]", L"_Test", -1, kSameAsWindows, nullptr},
    {L"~Old", L"+Plus", -1, kSameAsWindows, nullptr},  // not by code: + sorts with the signs
    {L"+Plus", L"Alpha", -1, kSameAsWindows, nullptr},
    {L"Doom 2", L"Doom2", -1, 1, "Wine puts a digit before every other character"},
    {L"Game 2", L"Game A", -1, kSameAsWindows, nullptr},
    // Digits as numbers, of any length; a number's leading zeros do not
    // count (Wine; Windows does not document the tie).
    {L"Game 9", L"Game 10", -1, kSameAsWindows, nullptr},
    {L"Game 10", L"Game 10a", -1, kSameAsWindows, nullptr},
    {L"Pack 99999999999", L"Pack 100000000000", -1, kSameAsWindows, nullptr},
    {L"Pack 2147483648", L"Pack 2147483647", 1, -1, "Wine's numbers wrap at 32 bits"},
    {L"Game 02", L"Game 2", 0, kSameAsWindows, nullptr},
    {L"Game 010", L"Game 9", 1, kSameAsWindows, nullptr},
    {L"x0", L"x", 1, kSameAsWindows, nullptr},
    // Letter case is ignored, in Latin, Cyrillic and accented letters.
    {L"ALPHA", L"beta", -1, kSameAsWindows, nullptr},
    {L"ИГРА", L"игра", 0, kSameAsWindows, nullptr},
    {L"ÉCLAIR", L"éclair", 0, kSameAsWindows, nullptr},
    {L"ЁЛКА", L"ёлка", 0, kSameAsWindows, nullptr},
    // Ё is a letter of its own after Е; an accented letter follows its
    // plain one and comes before the next letter; Latin before Cyrillic.
    {L"Ежевика", L"Ёж", -1, kSameAsWindows, nullptr},
    {L"Ёлка", L"Жук", -1, kSameAsWindows, nullptr},
    {L"Über", L"Uber", 1, kSameAsWindows, nullptr},
    {L"Dz", L"Éclair", -1, kSameAsWindows, nullptr},
    {L"Zeta", L"Арканоид", -1, kSameAsWindows, nullptr},
};

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(FolderOrderContract, PairsCompareAsOnWindows) {
  const bool wine = contract::UnderWine();
  for (const OrderCase& c : kCases) {
    const bool quirk = wine && c.wine != kSameAsWindows;
    const int expected = quirk ? c.wine : c.windows;
    // std::wstring in the messages: gtest prints it readably.
    SCOPED_TRACE(std::wstring(c.a) + L" vs " + std::wstring(c.b));
    SCOPED_TRACE(quirk ? std::string("a known Wine quirk: ") + c.wineQuirk : "");
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.a, c.b)), expected);
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.b, c.a)), -expected);
  }
}

}  // namespace
