// A disc's text files as read (which encoding a file is taken for, and that
// every byte shows up as something) and as made fit for a text box.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/Sim.h"
#include "util/DisplayTextModule.h"
#include "util/TextDecodeModule.h"

namespace {

using enum TextDecodeModule::TextEnd;

// UTF-16 little-endian with its mark.
std::string Le(std::initializer_list<unsigned> units) {
  std::string s = "\xFF\xFE";
  for (unsigned u : units) s += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return s;
}

TEST(TextDecodeTest, TheEncodingFromMarksAndContentAndWhereTheTextEnds) {
  sim::ResetWorld();  // the ANSI code page is 1251
  const std::string mark = "\xEF\xBB\xBF";
  const struct {
    std::string bytes;
    TextDecodeModule::TextEnd end;
    std::wstring text;
  } cases[] = {
      {"\xD0\x98\xC8", Whole, L"Р\x0098И"},  // UTF-8 but for the last byte
      // A cut text loses the character cut in two; a whole one keeps its end.
      {"Level 1 \xDF", Cut, L"Level 1 Я"},  // no whole non-ASCII character: ANSI
      {mark + "Z\xD0", Whole, L"Z\uFFFD"},
      {mark + "Z\xE2\x82", Cut, L"Z"},
      {Le({'Z', 0xD83D}), Whole, L"Z\uFFFD"},
      {Le({'Z', 0xD83D}), Cut, L"Z"},
      {Le({'Z'}) + "A", Whole, L"Z\uFFFD"},
      // Every maximal invalid subpart of UTF-8 (the longest start of a
      // well-formed sequence, or else one byte) becomes one U+FFFD.
      {mark + "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", Whole,
       L"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
      {mark + "\xC0\xAF\xE0\x80\xBF\xF0\x81\x82\x41", Whole, std::wstring(8, 0xFFFD) + L"A"},
      {mark + "\xF4\x8F\xBF\xBF\xEF\xBF\xBF", Whole, L"\U0010FFFF\xFFFF"},
      {Le({0xDE00, 0xD83D, 'a', 0xDC00}), Whole, L"\uFFFD\uFFFDa\uFFFD"},
      {std::string("\xFE\xFF\xD8\0\xD8\0\xDC\0", 8), Whole, L"\uFFFD\U00010000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextDecodeModule::DecodeText(c.bytes, c.end), c.text) << "row " << &c - cases;
}

// Lines of up to 256 characters; tabs as blanks to the stops of their line.
TEST(DisplayTextTest, LineEndsBecomeCrLfAndLongLinesBreakAfterTheirLastBlank) {
  const std::wstring a255(255, L'a');
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"1\r2\n3\r\n4", L"1\r\n2\r\n3\r\n4"},
      {a255 + L"bc", a255 + L"b\r\nc"},
      {a255 + std::wstring(L"\0b", 2), a255 + L" \r\nb"},    // a NUL is a blank
      {a255 + L"\xD83D\xDE00", a255 + L"\r\n\xD83D\xDE00"},  // a pair that does not fit
      {L"ab\tc\t\td\r\tx", L"ab      c               d\r\n        x"},
      {a255 + L"\tx", a255 + L" \r\nx"},            // a tab at the line's end is its blank
      {a255 + L"bc\td", a255 + L"b\r\nc       d"},  // stops of the text's own line
  };
  for (const auto& c : cases)
    EXPECT_EQ(DisplayTextModule::DisplayText(c.first), c.second) << "row " << &c - cases;
}

}  // namespace
