#include "check/TextFault.h"

#include <algorithm>
#include <array>

#include "util/TextDecodeModule.h"

namespace check {
namespace {

using TextDecodeModule::Encoding;

unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool StartsWithNoCase(std::string_view s, std::string_view head) {
  if (s.size() < head.size()) return false;
  for (std::size_t i = 0; i < head.size(); ++i)
    if (std::tolower(Byte(s, i)) != static_cast<unsigned char>(head[i])) return false;
  return true;
}

// How often each Russian letter comes in ordinary text, per thousand letters,
// from а to я with ё last.
constexpr std::array<int, 33> kLetterFrequency = {80, 16, 45, 17,  30, 85, 9,  16, 74, 12, 35,
                                                  44, 32, 67, 110, 28, 47, 55, 63, 26, 3,  10,
                                                  5,  14, 7,  4,   1,  19, 17, 3,  6,  20, 1};
constexpr int kNoLetter = -1;

// A byte as a letter of a code page: its number from а (0) to я (31), ё
// 32, plus 64 for a capital; kNoLetter for anything else.
int LetterOf(unsigned char b, CyrillicCodePage page) {
  switch (page) {
    case CyrillicCodePage::Windows:
      if (b >= 0xE0) return b - 0xE0;
      if (b >= 0xC0) return 64 + b - 0xC0;
      if (b == 0xB8) return 32;
      if (b == 0xA8) return 64 + 32;
      return kNoLetter;
    case CyrillicCodePage::Dos:
      if (b >= 0x80 && b <= 0x9F) return 64 + b - 0x80;
      if (b >= 0xA0 && b <= 0xAF) return b - 0xA0;
      if (b >= 0xE0 && b <= 0xEF) return 16 + b - 0xE0;
      if (b == 0xF1) return 32;
      if (b == 0xF0) return 64 + 32;
      return kNoLetter;
    case CyrillicCodePage::Koi8: {
      // юабцдефгхийклмнопярстужвьызшэщчъ, small from C0, capital from E0.
      static constexpr std::array<int, 32> kOrder = {30, 0,  1,  22, 4,  5,  20, 3,  21, 8,  9,
                                                     10, 11, 12, 13, 14, 15, 31, 16, 17, 18, 19,
                                                     6,  2,  28, 27, 7,  24, 29, 25, 23, 26};
      if (b >= 0xE0) return 64 + kOrder[b - 0xE0];
      if (b >= 0xC0) return kOrder[b - 0xC0];
      if (b == 0xA3) return 32;
      if (b == 0xB3) return 64 + 32;
      return kNoLetter;
    }
    case CyrillicCodePage::Unknown:
      break;
  }
  return kNoLetter;
}

// How much the bytes look like Russian text in the code page: the letters'
// frequencies summed, a capital counting half (text is mostly small letters,
// but a text all in capitals must not pass for another code page's small
// ones).
long Likeness(std::string_view bytes, CyrillicCodePage page) {
  long score = 0;
  for (char c : bytes) {
    const int letter = LetterOf(static_cast<unsigned char>(c), page);
    if (letter == kNoLetter) continue;
    const int frequency = kLetterFrequency[static_cast<std::size_t>(letter % 64)];
    score += letter >= 64 ? frequency : 2 * frequency;
  }
  return score;
}

// UTF-16 written without its mark: one byte of each pair, the high one, is
// nearly always 0 (Latin) or 4 (Cyrillic), the other almost never 0.
bool LooksLikeUtf16(std::string_view bytes) {
  const std::size_t pairs = bytes.size() / 2;
  if (pairs < 4) return false;
  for (std::size_t high : {1u, 0u}) {
    std::size_t zeros = 0, typical = 0, lowZeros = 0;
    for (std::size_t p = 0; p < pairs; ++p) {
      const unsigned char h = Byte(bytes, 2 * p + high), l = Byte(bytes, 2 * p + 1 - high);
      zeros += h == 0;
      typical += h == 0 || h == 4;
      lowZeros += l == 0;
    }
    if (zeros > 0 && typical * 10 >= pairs * 9 && lowZeros * 10 < pairs) return true;
  }
  return false;
}

int LineOf(std::string_view bytes, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset; ++i)
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
      ++line;
  return line;
}

}  // namespace

CyrillicCodePage GuessCyrillic(std::string_view bytes) {
  // Fewer letters than this tell nothing for sure.
  constexpr std::size_t kEnough = 24;
  std::size_t high = 0;
  for (char c : bytes) high += static_cast<unsigned char>(c) >= 0x80;
  if (high < kEnough) return CyrillicCodePage::Unknown;
  const std::array<CyrillicCodePage, 3> pages = {CyrillicCodePage::Windows, CyrillicCodePage::Dos,
                                                 CyrillicCodePage::Koi8};
  std::array<long, 3> scores{};
  for (std::size_t i = 0; i < pages.size(); ++i) scores[i] = Likeness(bytes, pages[i]);
  const std::size_t best =
      static_cast<std::size_t>(std::max_element(scores.begin(), scores.end()) - scores.begin());
  for (std::size_t i = 0; i < scores.size(); ++i)
    if (i != best && scores[i] * 3 > scores[best] * 2) return CyrillicCodePage::Unknown;
  return pages[best];
}

TextVerdict ExamineText(std::string_view bytes, bool cut) {
  const auto end = cut ? TextDecodeModule::TextEnd::Cut : TextDecodeModule::TextEnd::Whole;
  const Encoding encoding = TextDecodeModule::DetectEncoding(bytes, end);
  if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) return {};
  std::string_view text = bytes;
  if (encoding == Encoding::Utf8Bom) text.remove_prefix(3);
  if (text.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") || text.starts_with("PK\x03\x04"))
    return {.fault = TextFault::Word};
  const std::size_t start = std::min(text.find_first_not_of(" \t\r\n"), text.size());
  const std::string_view lead = text.substr(start, 1024);
  if (lead.starts_with("{\\rtf")) return {.fault = TextFault::Rtf};
  if (StartsWithNoCase(lead, "<!doctype html") || StartsWithNoCase(lead, "<html"))
    return {.fault = TextFault::Html};
  if (encoding == Encoding::Utf8) return {};
  const TextDecodeModule::Utf8Reading utf8 = TextDecodeModule::ReadAsUtf8(text);
  const std::size_t offset = encoding == Encoding::Utf8Bom ? 3 : 0;
  if (utf8.firstInvalid != std::string_view::npos &&
      (encoding == Encoding::Utf8Bom || utf8.cyrillic >= 3))
    return {.fault = TextFault::Mixed, .line = LineOf(bytes, offset + utf8.firstInvalid)};
  if (encoding == Encoding::Utf8Bom) return {};
  // Read as ANSI from here on.
  if (!cut && utf8.endsInside && utf8.firstInvalid == std::string_view::npos && utf8.nonAscii > 0)
    return {.fault = TextFault::Utf8Cut};
  if (LooksLikeUtf16(text)) return {.fault = TextFault::Utf16NoMark};
  switch (GuessCyrillic(text)) {
    case CyrillicCodePage::Dos:
      return {.fault = TextFault::Dos866};
    case CyrillicCodePage::Koi8:
      return {.fault = TextFault::Koi8r};
    default:
      return {};
  }
}

}  // namespace check
