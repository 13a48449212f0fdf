// A disc's text files as read (which encoding a file is taken for, and that
// every byte shows up as something) and as made fit for a text box.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/Sim.h"
#include "util/DisplayTextModule.h"
#include "util/TextDecodeModule.h"

namespace {

using TextDecodeModule::TextEnd;

// UTF-16 little-endian with its mark.
std::string Le(std::initializer_list<unsigned> units) {
  std::string s = "\xFF\xFE";
  for (unsigned u : units) s += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return s;
}

TEST(TextDecodeTest, TheEncodingFromMarksAndContentAndWhereTheTextEnds) {
  sim::ResetWorld();  // the ANSI code page is 1251
  const std::string mark = "\xEF\xBB\xBF";
  const TextEnd whole = TextEnd::Whole, cut = TextEnd::Cut;
  const struct {
    std::string bytes;
    TextEnd end;
    std::wstring text;
  } cases[] = {
      {"\xC8\xE3\xF0\xFB", whole, L"Игры"},
      {"\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B", whole, L"Игры"},  // UTF-8 without a mark
      {"\xF0\x9F\x98\x80", whole, L"\U0001F600"},
      {"\xC0\x80", whole, L"А\x0402"},       // an overlong form is not UTF-8
      {"\xD0\x98\xC8", whole, L"Р\x0098И"},  // UTF-8 but for the last byte
      {std::string("\0a", 2), whole, std::wstring(L"\0a", 2)},
      // A cut text loses the character cut in two; a whole one keeps its end.
      {"a\xD0", whole, L"aР"},
      {"\xD0\x98\xD0", cut, L"И"},
      {"Level 1 \xDF", cut, L"Level 1 Я"},  // no whole non-ASCII character: ANSI
      {mark + "Z\xD0", whole, L"Z\uFFFD"},
      {mark + "Z\xE2\x82", cut, L"Z"},
      {Le({'Z', 0xD83D}), whole, L"Z\uFFFD"},
      {Le({'Z', 0xD83D}), cut, L"Z"},
      {Le({'Z'}) + "A", whole, L"Z\uFFFD"},
      // Every maximal invalid subpart of UTF-8 (the longest start of a
      // well-formed sequence, or else one byte) becomes one U+FFFD.
      {mark + "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", whole,
       L"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
      {mark + "\xC0\xAF\xE0\x80\xBF\xF0\x81\x82\x41", whole, std::wstring(8, 0xFFFD) + L"A"},
      {mark + "\xF4\x8F\xBF\xBF\xEF\xBF\xBF", whole, L"\U0010FFFF\xFFFF"},
      {Le({0xDE00, 0xD83D, 'a', 0xDC00}), whole, L"\uFFFD\uFFFDa\uFFFD"},
      {std::string("\xFE\xFF\xD8\0\xD8\0\xDC\0", 8), whole, L"\uFFFD\U00010000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextDecodeModule::DecodeText(c.bytes, c.end), c.text) << "row " << &c - cases;
}

TEST(DisplayTextTest, LineEndsBecomeCrLfAndLongLinesBreakAfterTheirLastBlank) {
  const std::size_t most = DisplayTextModule::kMaxLineChars;
  const struct {
    std::wstring text;
    std::size_t maxLine;
    std::wstring shown;
  } cases[] = {
      {L"1\r2\n3\r\n4", most, L"1\r\n2\r\n3\r\n4"},
      {L"a\r\rb\n\rc\r\r\nd", most, L"a\r\n\r\nb\r\n\r\nc\r\n\r\nd"},  // two line ends each
      {L"abcdefghi", 8, L"abcdefgh\r\ni"},
      {L"a b c d e f", 8, L"a b c d \r\ne f"},  // after the last blank that fits
      {L"a\tbcdefghij", 9, L"a\t\r\nbcdefghij"},
      {std::wstring(L"abcdefg\0hi", 10), 8, L"abcdefg \r\nhi"},   // a NUL is a blank
      {L"abcdefg\xD83D\xDE00", 8, L"abcdefg\r\n\xD83D\xDE00"},    // a pair that does not fit
      {L"abcdefgh\rabcdefghi", 8, L"abcdefgh\r\nabcdefgh\r\ni"},  // counted from each line end
      {L"abcdefgh\r\n", 8, L"abcdefgh\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DisplayTextModule::DisplayText(c.text, c.maxLine), c.shown) << "row " << &c - cases;
}

}  // namespace
