// Making a text fit for a text box: line ends, NULs and long lines.
#include <gtest/gtest.h>

#include <string>

#include "util/DisplayTextModule.h"

namespace {

using DisplayTextModule::DisplayText;

// The text without the line ends: what a reader going from line to line
// meets, in order.
std::wstring WithoutLineEnds(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s)
    if (c != L'\r' && c != L'\n') out += c;
  return out;
}

// The lengths of the lines between CR LF; fails on a CR or LF alone.
std::vector<std::size_t> LineLengths(const std::wstring& s) {
  std::vector<std::size_t> lengths(1, 0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'\r') {
      EXPECT_TRUE(i + 1 < s.size() && s[i + 1] == L'\n') << "a CR without its LF at " << i;
      lengths.push_back(0);
      ++i;
    } else {
      EXPECT_NE(s[i], L'\n') << "an LF without its CR at " << i;
      ++lengths.back();
    }
  }
  return lengths;
}

TEST(DisplayTextTest, EveryKindOfLineEndBecomesCrLf) {
  struct Case {
    std::wstring text, shown;
    const char* what;
  };
  const Case cases[] = {
      {L"", L"", "empty"},
      {L"one\r\ntwo\r\n", L"one\r\ntwo\r\n", "CR LF stays"},
      {L"one\rtwo\rthree", L"one\r\ntwo\r\nthree", "old Mac"},
      {L"one\ntwo\n", L"one\r\ntwo\r\n", "Unix"},
      {L"a\r\rb", L"a\r\n\r\nb", "two CRs: an empty line between"},
      {L"a\n\rb", L"a\r\n\r\nb", "LF CR is two line ends"},
      {L"a\r\r\nb", L"a\r\n\r\nb", "CR then CR LF"},
      {L"\r", L"\r\n", "a CR alone"},
      {L"a\n\nb\r\n\r\nc", L"a\r\n\r\nb\r\n\r\nc", "mixed"},
      {std::wstring(L"\0text", 5), L" text", "a NUL first"},
      {std::wstring(L"a\0\0b\0", 5), L"a  b ", "NULs anywhere"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayText(c.text), c.shown) << c.what;
}

TEST(DisplayTextTest, LongLinesAreBrokenAfterTheirLastBlankOrElseWhereFull) {
  struct Case {
    std::wstring text, shown;
    std::size_t maxLine;
    const char* what;
  };
  const Case cases[] = {
      {L"abcdefgh", L"abcdefgh", 8, "a full line stays"},
      {L"abcdefghi", L"abcdefgh\r\ni", 8, "no blank: broken where full"},
      {L"abc defghi", L"abc \r\ndefghi", 8, "after the blank, which stays"},
      {L"a b c d e f", L"a b c d \r\ne f", 8, "after the last blank that fits"},
      {L"a\tbcdefghij", L"a\t\r\nbcdefghij", 9, "a tab is a blank"},
      {L"abcdefg hijklmnopq", L"abcdefg \r\nhijklmno\r\npq", 8, "then hard"},
      {L"abcdefg\xD83D\xDE00", L"abcdefg\r\n\xD83D\xDE00", 8, "a pair that does not fit"},
      {L"abcdef\xD83D\xDE00xy", L"abcdef\xD83D\xDE00\r\nxy", 8, "a pair that fits"},
      {L"abcdefgh\r\nabcdefgh\rabcdefghi", L"abcdefgh\r\nabcdefgh\r\nabcdefgh\r\ni", 8,
       "counted from each line end"},
      {L"abcdefgh\r\n", L"abcdefgh\r\n", 8, "a CR LF is never split"},
      {std::wstring(L"abcdefg\0hi", 10), L"abcdefg \r\nhi", 8, "a NUL is a blank"},
      {L"        x", L"        \r\nx", 8, "blanks only"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayText(c.text, c.maxLine), c.shown) << c.what;
}

TEST(DisplayTextTest, AReaderFindsEveryCharacterInOrderAndNoLineTooLong) {
  // Words of every length, blanks, tabs, surrogate pairs and line ends of
  // every kind, mixed by a fixed pseudo-random sequence.
  std::wstring text;
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  const wchar_t* pieces[] = {L" ", L"\t", L"\xD83D\xDE00", L"\r", L"\n", L"\r\n", L"Ж", L"x"};
  while (text.size() < 200000) {
    const auto piece = next() % 8;
    const auto repeat = piece < 6 ? 1 : 1 + next() % (piece == 6 ? 3000 : 40);
    for (unsigned k = 0; k < repeat; ++k) text += pieces[piece];
  }
  for (std::size_t maxLine :
       {std::size_t{2}, std::size_t{3}, std::size_t{80}, DisplayTextModule::kMaxLineChars}) {
    const std::wstring shown = DisplayText(text, maxLine);
    EXPECT_EQ(WithoutLineEnds(shown), WithoutLineEnds(text)) << maxLine;
    for (std::size_t length : LineLengths(shown)) ASSERT_LE(length, maxLine);
    for (std::size_t i = 0; i + 1 < shown.size(); ++i) {
      if (shown[i] >= 0xD800 && shown[i] <= 0xDBFF) {
        ASSERT_TRUE(shown[i + 1] >= 0xDC00 && shown[i + 1] <= 0xDFFF) << "split at " << i;
      }
    }
  }
}

}  // namespace
