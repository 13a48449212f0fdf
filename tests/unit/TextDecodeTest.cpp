// Decoding the disc's text files: which encoding a file is taken for, and
// that every byte of it shows up as something, whatever it holds.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/Sim.h"
#include "util/LoadFileModule.h"
#include "util/TextDecodeModule.h"

namespace {

using TextDecodeModule::DecodeText;
using TextDecodeModule::Encoding;
using TextDecodeModule::TextEnd;

// The text as the program holds it: UTF-16 where wchar_t has 16 bits.
std::wstring Text(const std::u32string& s) {
  std::wstring out;
  for (char32_t c : s) {
    if (c >= 0x10000 && sizeof(wchar_t) == 2) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

struct Case {
  std::string bytes;
  std::u32string text;
  const char* what;
};

class TextDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::ResetWorld(); }  // the ANSI code page is 1251
};

void CheckAll(std::initializer_list<Case> cases, TextEnd end) {
  for (const Case& c : cases) EXPECT_EQ(DecodeText(c.bytes, end), Text(c.text)) << c.what;
}

TEST_F(TextDecodeTest, ChoosesTheEncodingFromMarksAndContent) {
  CheckAll(
      {
          {"plain", U"plain", "ASCII"},
          {"\xC8\xE3\xF0\xFB", U"Игры", "1251"},
          {"\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B", U"Игры", "UTF-8 without a mark"},
          {"\xEF\xBB\xBFok", U"ok", "UTF-8 mark"},
          {std::string("\xFF\xFE\x18\x04\x33\x04", 6), U"Иг", "UTF-16 LE"},
          {std::string("\xFE\xFF\x04\x18", 4), U"И", "UTF-16 BE"},
          {"\xC0\x80", U"А\x0402", "an overlong form is not UTF-8"},
          {"\xED\xA0\x80", U"н\x00A0\x0402", "an encoded surrogate is not UTF-8"},
          {"\xF0\x9F\x98\x80", U"\U0001F600", "four bytes"},
          {"\xD0\x98\xC8", U"\x0420\x0098\x0418", "valid UTF-8 but for the last byte is ANSI"},
      },
      TextEnd::Whole);
}

TEST_F(TextDecodeTest, AWholeFileEndingInANonAsciiLetterKeepsIt) {
  CheckAll(
      {
          {"[main]\r\ndisk=Disc \xDF", U"[main]\r\ndisk=Disc Я", "ANSI, last line unended"},
          {"Level 1 \xDF", U"Level 1 Я", "ANSI description"},
          {"\xDF", U"Я", "one ANSI letter"},
          {"a\xD0", U"aР", "the lead of a two-byte sequence alone is ANSI"},
          {"ab\xE2\x82", U"ab\x0432\x201A", "two of three bytes"},
          {"\xEF\xBB\xBFZ\xD0", U"Z\uFFFD", "after a UTF-8 mark: a mark of the broken end"},
          {std::string("\xFF\xFEZ\x00\x3D\xD8", 6), U"Z\uFFFD", "UTF-16 ending in half a pair"},
          {std::string("\xFF\xFEZ\x00\x41", 5), U"Z\uFFFD", "UTF-16 ending in half a unit"},
      },
      TextEnd::Whole);
}

TEST_F(TextDecodeTest, ACutTextLosesOnlyTheCharacterCutInTwo) {
  CheckAll(
      {
          {"\xD0\x98\xD0", U"И", "UTF-8 cut inside a letter"},
          {"\xD0\x98\xF0\x9F\x98", U"И", "UTF-8 cut inside four bytes"},
          {"abc\xD0", U"abcР", "no whole non-ASCII character: ANSI"},
          {"\xEF\xBB\xBFZ\xE2\x82", U"Z", "after a UTF-8 mark"},
          {"\xEF\xBB\xBFZ\xE2\x41", U"Z\uFFFDA", "a fault before the cut still shows"},
          {std::string("\xFF\xFEZ\x00\x3D\xD8", 6), U"Z", "UTF-16 cut inside a pair"},
          {std::string("\xFF\xFEZ\x00\x41", 5), U"Z", "UTF-16 cut inside a unit"},
          {"\xC8\xE3\xF0\xFB", U"Игры", "ANSI"},
      },
      TextEnd::Cut);
}

// A file read up to a limit: the byte beyond the limit tells a file cut
// there from one that ends there.
TEST_F(TextDecodeTest, TheSizeCutIsToldByTheByteBeyondIt) {
  struct HeadCase {
    std::string bytes;
    std::size_t limit;
    std::wstring text;
    bool cut;
    const char* what;
  };
  const HeadCase cases[] = {
      {"\xD0\x98\xD0", 3, L"Р\x0098Р", false, "the file ends here: ANSI"},
      {"\xD0\x98\xD0\x98", 3, L"И", true, "cut: the broken letter goes"},
      {"Level 1 \xDF", 9, L"Level 1 Я", false, "a last ANSI letter"},
      {"Level 1 \xDFxyz", 9, L"Level 1 Я", true, "cut after a whole ANSI letter"},
  };
  for (const HeadCase& c : cases) {
    sim::ResetWorld();
    sim::AddFile(L"D:\\t.txt", c.bytes);
    LoadFileModule::TextHead head;
    ASSERT_EQ(LoadFileModule::ReadTextHead(L"D:\\t.txt", c.limit, head), platform::ReadStatus::Ok);
    EXPECT_EQ(head.text, c.text) << c.what;
    EXPECT_EQ(head.cut, c.cut) << c.what;
  }
}

// Every maximal invalid subpart of UTF-8 (the longest start of a well-formed
// sequence, or else one byte) becomes one U+FFFD; the rest is shown.
TEST_F(TextDecodeTest, InvalidUtf8ShowsOneReplacementPerMaximalSubpart) {
  const std::string mark = "\xEF\xBB\xBF";
  CheckAll(
      {
          {mark + "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
           U"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd",
           "the standard's example: cut-short sequences and lone continuations"},
          {mark + "\xC0\xAF\xE0\x80\xBF\xF0\x81\x82\x41", std::u32string(8, 0xFFFD) + U"A",
           "overlong forms: one per byte"},
          {mark + "\xED\xA0\x80\xED\xBF\xBF\xED\xAF\x41", std::u32string(8, 0xFFFD) + U"A",
           "encoded surrogates: one per byte, never a lone surrogate"},
          {mark + "\xF4\x91\x92\x93\xFF\x41\x80\xBF\x42",
           U"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA\uFFFD\uFFFDB", "above U+10FFFF, FF"},
          {mark + "\xE1\x80\xE2\xF0\x91\x92\xF1\xBF\x41", U"\uFFFD\uFFFD\uFFFD\uFFFDA",
           "truncated sequences one after another"},
          {mark + "\xF5\xF8\xFE", U"\uFFFD\uFFFD\uFFFD", "bytes that never lead"},
          {mark + "ok \xD0\x98 \x80 and on: " + std::string(60, 'x'),
           U"ok И \uFFFD and on: " + std::u32string(60, U'x'), "the text goes on after a fault"},
          {mark + "\xF4\x8F\xBF\xBF\xEF\xBF\xBF", U"\U0010FFFF\xFFFF", "the highest are valid"},
      },
      TextEnd::Whole);
}

TEST_F(TextDecodeTest, NulsAreKeptWherever) {
  CheckAll(
      {
          {std::string("\0ab", 3), std::u32string(U"\0ab", 3), "ANSI"},
          {std::string("\xEF\xBB\xBF\0\xD0\x98", 6), std::u32string(U"\0И", 2), "UTF-8"},
          {std::string("\xFF\xFE\0\0A\0", 6), std::u32string(U"\0A", 2), "UTF-16"},
      },
      TextEnd::Whole);
}

TEST_F(TextDecodeTest, Utf16UnpairedSurrogatesBecomeReplacements) {
  auto le = [](std::initializer_list<unsigned> units) {
    std::string s = "\xFF\xFE";
    for (unsigned u : units) {
      s += static_cast<char>(u & 0xFF);
      s += static_cast<char>(u >> 8);
    }
    return s;
  };
  auto be = [](std::initializer_list<unsigned> units) {
    std::string s = "\xFE\xFF";
    for (unsigned u : units) {
      s += static_cast<char>(u >> 8);
      s += static_cast<char>(u & 0xFF);
    }
    return s;
  };
  CheckAll(
      {
          {le({0xD83D, 0xDE00}), U"\U0001F600", "a pair"},
          {be({0xD83D, 0xDE00}), U"\U0001F600", "a pair, big-endian"},
          {le({0xDE00, 0xD83D, 'a'}), U"\uFFFD\uFFFDa", "reversed"},
          {le({'a', 0xDC00, 'b'}), U"a\uFFFDb", "a lone low surrogate"},
          {be({0xD800, 0xD800, 0xDC00}), U"\uFFFD\U00010000", "a high one before a pair"},
          {le({0xD800}), U"\uFFFD", "a high one at the end of a whole file"},
      },
      TextEnd::Whole);
}

TEST_F(TextDecodeTest, TheEncodingIsTold) {
  using TextDecodeModule::DetectEncoding;
  EXPECT_EQ(DetectEncoding("Disc \xDF"), Encoding::Ansi);
  EXPECT_EQ(DetectEncoding("Disc \xDF", TextEnd::Cut), Encoding::Ansi)
      << "no whole UTF-8 character: nothing says UTF-8";
  EXPECT_EQ(DetectEncoding("\xD0\x98\xD0", TextEnd::Cut), Encoding::Utf8);
  EXPECT_EQ(DetectEncoding("\xD0\x98\xD0"), Encoding::Ansi);
  EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF\xFF"), Encoding::Utf8Bom);
}

}  // namespace
