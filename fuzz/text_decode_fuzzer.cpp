// A disc's text files. Their decoding, held to plain reference decoders:
// encoding detection, ANSI, UTF-8 with and without a byte-order mark, UTF-16
// in both byte orders, a whole file and a head cut off at any point (as the
// size limit cuts a long file), and the head as LoadFile reads it from the
// (simulated) disc. And a text made fit for a text box: the input's first
// byte chooses the longest line (or the program's own), the rest is UTF-16
// code units of any value, so that line ends of every kind, NULs, blanks,
// surrogate pairs and lone surrogates all come up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Platform.h"
#include "util/DisplayTextModule.h"
#include "util/LoadFileModule.h"
#include "util/TextDecodeModule.h"

using TextDecodeModule::DecodeText;
using TextDecodeModule::DetectEncoding;
using TextDecodeModule::Encoding;
using TextDecodeModule::TextEnd;

namespace {

// The fuzz build's wide characters hold any code point: no surrogate pairs.
static_assert(sizeof(wchar_t) == 4);

// UTF-8 decoded a byte at a time as the WHATWG Encoding Standard's decoder
// does: each maximal invalid subpart is one error. `invalid` tells whether
// there was any; an unfinished sequence at the end is dropped from a cut text.
std::wstring ReferenceUtf8(std::string_view s, TextEnd end, bool& invalid) {
  std::wstring out;
  invalid = false;
  int needed = 0;
  int seen = 0;
  char32_t value = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  auto fail = [&] {
    out += L'\xFFFD';
    invalid = true;
    needed = seen = 0;
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned b = static_cast<unsigned char>(s[i]);
    if (needed == 0) {
      needed = b >= 0xC2 && b <= 0xDF   ? 1
               : b >= 0xE0 && b <= 0xEF ? 2
               : b >= 0xF0 && b <= 0xF4 ? 3
                                        : 0;
      low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
      high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
      value = b & (0x3Fu >> needed);
      if (b < 0x80) out += static_cast<wchar_t>(b);
      if (b >= 0x80 && needed == 0) fail();
    } else if (b < low || b > high) {
      fail();
      --i;  // the byte starts afresh
    } else {
      low = 0x80;
      high = 0xBF;
      value = value << 6 | (b & 0x3F);
      if (++seen == needed) {
        out += static_cast<wchar_t>(value);
        needed = seen = 0;
      }
    }
  }
  if (needed != 0 && end == TextEnd::Whole) fail();
  return out;
}

// UTF-16: a lone surrogate or half a unit is an error; a high surrogate or
// half a unit at the end is dropped from a cut text.
std::wstring ReferenceUtf16(std::string_view s, bool big, TextEnd end) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < s.size(); i += 2)
    units += static_cast<char16_t>(static_cast<unsigned char>(s[i + !big]) << 8 |
                                   static_cast<unsigned char>(s[i + big]));
  if (end == TextEnd::Cut && !units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF)
    units.pop_back();
  std::wstring out;
  for (std::size_t n = 0; n < units.size(); ++n) {
    const char32_t c = units[n], next = n + 1 < units.size() ? units[n + 1] : 0;
    if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
      ++n;
    } else {
      out += c >= 0xD800 && c <= 0xDFFF ? L'\xFFFD' : static_cast<wchar_t>(c);
    }
  }
  if (s.size() % 2 != 0 && end == TextEnd::Whole) out += L'\xFFFD';
  return out;
}

// What the decoder must give for the bytes: a byte-order mark decides;
// else valid UTF-8 with something beyond ASCII is UTF-8, anything else ANSI.
std::wstring Expected(std::string_view bytes, TextEnd end, Encoding& encoding) {
  bool invalid = false;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    encoding = Encoding::Utf8Bom;
    return ReferenceUtf8(bytes.substr(3), end, invalid);
  }
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    encoding = bytes[0] == '\xFF' ? Encoding::Utf16Le : Encoding::Utf16Be;
    return ReferenceUtf16(bytes.substr(2), encoding == Encoding::Utf16Be, end);
  }
  const std::wstring utf8 = ReferenceUtf8(bytes, end, invalid);
  const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](wchar_t c) { return c < 0x80; });
  encoding = invalid || ascii ? Encoding::Ansi : Encoding::Utf8;
  return encoding == Encoding::Utf8 ? utf8 : platform::AnsiToWide(bytes);
}

void CheckDecoding(std::string_view bytes, TextEnd end) {
  Encoding expectedEncoding = Encoding::Ansi;
  const std::wstring expected = Expected(bytes, end, expectedEncoding);
  FUZZ_CHECK(DetectEncoding(bytes, end) == expectedEncoding);
  FUZZ_CHECK(DecodeText(bytes, end) == expected);
}

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The characters without their line ends, a NUL read as a blank and a tab
// as the blanks to its line's next tab stop; `breaks`
// receives where the line ends fall in them.
std::wstring Characters(std::wstring_view text, std::vector<std::size_t>& breaks) {
  std::wstring out;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      breaks.push_back(out.size());
      lineStart = out.size();
    } else if (text[i] == L'\t') {  // blanks to the next stop of the line
      out.append(DisplayTextModule::kTabColumns -
                     (out.size() - lineStart) % DisplayTextModule::kTabColumns,
                 L' ');
    } else {
      out += text[i] == L'\0' ? L' ' : text[i];
    }
  }
  return out;
}

// Which line ends become CR LF and that a NUL shows as a blank are the unit
// tests' table; here, where a long line breaks.
void CheckDisplay(const std::uint8_t* data, std::size_t size) {
  const std::size_t maxLine =
      data[0] == 0 ? DisplayTextModule::kMaxLineChars : std::size_t{2} + data[0] % 40;
  std::wstring text;  // pairs of bytes as code units, little-endian
  for (std::size_t i = 1; i + 1 < size; i += 2)
    text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  const std::wstring shown = DisplayTextModule::DisplayText(text, maxLine);

  // A reader going from line to line meets every character in order.
  std::vector<std::size_t> textBreaks, breaks;
  const std::wstring characters = Characters(text, textBreaks);
  FUZZ_CHECK(Characters(shown, breaks) == characters);
  // Each line short enough; a break the text did not have falls after the
  // line's last blank, with the next word too long to have fitted, else
  // where the line is full, never inside a surrogate pair.
  breaks.push_back(characters.size());
  std::size_t from = 0;
  for (std::size_t n = 0; n < breaks.size(); from = breaks[n++]) {
    const std::size_t to = breaks[n];
    FUZZ_CHECK(to - from <= maxLine);
    if (n + 1 == breaks.size() || std::count(textBreaks.begin(), textBreaks.end(), to) > 0)
      continue;
    FUZZ_CHECK(to > 0 && to < breaks[n + 1] &&
               !(IsHigh(characters[to - 1]) && IsLow(characters[to])));
    const std::wstring_view line(characters.data() + from, to - from);
    std::size_t nextBlank = to;
    while (nextBlank < breaks[n + 1] && !IsBlank(characters[nextBlank])) ++nextBlank;
    if (!line.empty() && IsBlank(line.back()))
      FUZZ_CHECK(line.size() + (nextBlank - to) >= maxLine);
    else
      FUZZ_CHECK(line.find_first_of(L" \t") == std::wstring_view::npos &&
                 (line.size() == maxLine || (line.size() == maxLine - 1 && to + 1 < breaks[n + 1] &&
                                             IsHigh(characters[to]) && IsLow(characters[to + 1]))));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  CheckDecoding(bytes, TextEnd::Whole);
  if (size == 0) return 0;
  CheckDecoding(bytes.substr(0, data[0] % (size + 1)), TextEnd::Cut);

  // The file on the disc, read up to a limit as LoadFile reads it: a head
  // cut only where the file goes on.
  const std::size_t limit = data[size - 1] % (size + 2);
  LoadFileModule::TextHead read;
  FUZZ_CHECK(LoadFileModule::ReadTextHead(fuzz::OnDisc(bytes), limit, read) ==
             platform::ReadStatus::Ok);
  FUZZ_CHECK(read.cut == (size > limit));
  const TextEnd readEnd = read.cut ? TextEnd::Cut : TextEnd::Whole;
  FUZZ_CHECK(read.text == DecodeText(bytes.substr(0, limit), readEnd));
  FUZZ_CHECK(read.encoding == DetectEncoding(bytes.substr(0, limit), readEnd));
  CheckDisplay(data, size);
  return 0;
}
