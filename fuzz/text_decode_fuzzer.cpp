// The decoding of a disc's text files: encoding detection, ANSI, UTF-8 with
// and without a byte-order mark, UTF-16 in both byte orders, a whole file
// and a head cut off at any point (as the size limit cuts a long file), and
// the head as LoadFile reads it from the (simulated) disc.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/Platform.h"
#include "platform/sim/Sim.h"
#include "util/LoadFileModule.h"
#include "util/TextDecodeModule.h"

using TextDecodeModule::DecodeText;
using TextDecodeModule::DetectEncoding;
using TextDecodeModule::Encoding;
using TextDecodeModule::TextEnd;

namespace {

void Append(std::wstring& out, char32_t c) {
  if (c >= 0x10000 && sizeof(wchar_t) == 2) {
    out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

// UTF-8 decoded the way the WHATWG Encoding Standard's decoder does it, a
// byte at a time: its errors are exactly the maximal invalid subparts.
// `invalid` tells whether there was any; an unfinished sequence at the end
// is dropped from a cut text.
std::wstring ReferenceUtf8(std::string_view s, TextEnd end, bool& invalid) {
  std::wstring out;
  invalid = false;
  int needed = 0, seen = 0;
  char32_t value = 0;
  unsigned low = 0x80, high = 0xBF;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned b = static_cast<unsigned char>(s[i]);
    if (needed == 0) {
      if (b < 0x80) {
        out += static_cast<wchar_t>(b);
      } else if (b >= 0xC2 && b <= 0xDF) {
        needed = 1, value = b & 0x1F;
      } else if (b >= 0xE0 && b <= 0xEF) {
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
        needed = 2, value = b & 0xF;
      } else if (b >= 0xF0 && b <= 0xF4) {
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
        needed = 3, value = b & 0x7;
      } else {
        out += L'\xFFFD', invalid = true;
      }
      continue;
    }
    if (b < low || b > high) {
      needed = seen = 0, value = 0, low = 0x80, high = 0xBF;
      out += L'\xFFFD', invalid = true;
      --i;  // the byte starts afresh
      continue;
    }
    low = 0x80, high = 0xBF;
    value = value << 6 | (b & 0x3F);
    if (++seen == needed) {
      Append(out, value);
      needed = seen = 0, value = 0;
    }
  }
  if (needed != 0 && end == TextEnd::Whole) out += L'\xFFFD', invalid = true;
  return out;
}

std::wstring ReferenceUtf16(std::string_view s, bool big, TextEnd end) {
  std::wstring out;
  std::wstring units;
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    const unsigned a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    units += static_cast<wchar_t>(big ? a << 8 | b : b << 8 | a);
  }
  for (std::size_t n = 0; n < units.size(); ++n) {
    const char32_t c = static_cast<char32_t>(units[n]);
    const bool isHigh = c >= 0xD800 && c <= 0xDBFF, isLow = c >= 0xDC00 && c <= 0xDFFF;
    const bool pairs =
        isHigh && n + 1 < units.size() && units[n + 1] >= 0xDC00 && units[n + 1] <= 0xDFFF;
    if (pairs) {
      Append(out, 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(units[n + 1]) - 0xDC00));
      ++n;
    } else if (isHigh && n + 1 == units.size() && end == TextEnd::Cut) {
      break;
    } else {
      out += isHigh || isLow ? L'\xFFFD' : static_cast<wchar_t>(c);
    }
  }
  if (s.size() % 2 != 0 && end == TextEnd::Whole) out += L'\xFFFD';
  return out;
}

std::string Utf8Of(const std::wstring& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Whether the units pair every surrogate.
bool IsUtf16(std::string_view s, bool big) {
  std::wstring units;
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    const unsigned a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    units += static_cast<wchar_t>(big ? a << 8 | b : b << 8 | a);
  }
  return !fuzz::HasLoneSurrogate(units);
}

std::string Utf16Of(const std::wstring& text, bool big) {
  std::string out;
  auto put = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += big ? high : low;
    out += big ? low : high;
  };
  for (wchar_t w : text) {
    const auto c = static_cast<char32_t>(w);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

bool HasNonAscii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c >= 0x80) return true;
  return false;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// What the decoder must give for the bytes, by the rules and by the
// reference decoders above.
std::wstring Expected(std::string_view bytes, TextEnd end, Encoding& encoding) {
  const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  bool invalid = false;
  if (starts("\xEF\xBB\xBF")) {
    encoding = Encoding::Utf8Bom;
    return ReferenceUtf8(bytes.substr(3), end, invalid);
  }
  if (starts("\xFF\xFE")) {
    encoding = Encoding::Utf16Le;
    return ReferenceUtf16(bytes.substr(2), false, end);
  }
  if (starts("\xFE\xFF")) {
    encoding = Encoding::Utf16Be;
    return ReferenceUtf16(bytes.substr(2), true, end);
  }
  const std::wstring utf8 = ReferenceUtf8(bytes, end, invalid);
  if (!invalid && HasNonAscii(utf8)) {
    encoding = Encoding::Utf8;
    return utf8;
  }
  encoding = Encoding::Ansi;
  return platform::AnsiToWide(bytes);
}

void CheckDecoding(std::string_view bytes, TextEnd end) {
  Encoding expectedEncoding = Encoding::Ansi;
  const std::wstring expected = Expected(bytes, end, expectedEncoding);
  const Encoding encoding = DetectEncoding(bytes, end);
  const std::wstring text = DecodeText(bytes, end);
  FUZZ_CHECK(encoding == expectedEncoding);
  FUZZ_CHECK(text == expected);
  FUZZ_CHECK(!fuzz::HasLoneSurrogate(text));
  bool invalid = false;
  ReferenceUtf8(bytes, end, invalid);
  FUZZ_CHECK(TextDecodeModule::IsUtf8(bytes, end) == !invalid);
  if (encoding == Encoding::Ansi) FUZZ_CHECK(text.size() == bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckDecoding(bytes, TextEnd::Whole);
  const Encoding encoding = DetectEncoding(bytes);
  const std::wstring text = DecodeText(bytes);

  // Valid UTF-8 (with a mark or without) and valid UTF-16 come back as they
  // were.
  if (encoding == Encoding::Utf8) FUZZ_CHECK(Utf8Of(text) == bytes);
  if (encoding == Encoding::Utf8Bom && TextDecodeModule::IsUtf8(bytes.substr(3)))
    FUZZ_CHECK(Utf8Of(text) == bytes.substr(3));
  if ((encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) && size % 2 == 0 &&
      IsUtf16(bytes.substr(2), encoding == Encoding::Utf16Be))
    FUZZ_CHECK(Utf16Of(text, encoding == Encoding::Utf16Be) == bytes.substr(2));

  // A head cut off anywhere: decoded by the rules; in the encoding of the
  // whole, it shows a beginning of the whole text, and a longer head shows
  // at least as much. Only the character the cut breaks is dropped: the
  // head read as a whole file differs only by replacement characters at its
  // end (one for UTF-8, two for UTF-16: a high surrogate and half a unit).
  if (size > 0) {
    const std::size_t cut = data[0] % (size + 1);
    const std::size_t longerCut = cut + (size - cut) / 2;
    const std::string_view head = bytes.substr(0, cut), longer = bytes.substr(0, longerCut);
    CheckDecoding(head, TextEnd::Cut);
    const std::wstring headText = DecodeText(head, TextEnd::Cut);
    const Encoding headEncoding = DetectEncoding(head, TextEnd::Cut);
    if (headEncoding == encoding) FUZZ_CHECK(StartsWith(text, headText));
    if (headEncoding == DetectEncoding(longer, TextEnd::Cut))
      FUZZ_CHECK(StartsWith(DecodeText(longer, TextEnd::Cut), headText));
    if (headEncoding == DetectEncoding(head, TextEnd::Whole)) {
      const std::wstring asWhole = DecodeText(head, TextEnd::Whole);
      FUZZ_CHECK(StartsWith(asWhole, headText));
      const std::size_t extra = asWhole.size() - headText.size();
      FUZZ_CHECK(extra <= (headEncoding == Encoding::Utf16Le || headEncoding == Encoding::Utf16Be
                               ? 2u
                           : headEncoding == Encoding::Ansi ? 0u
                                                            : 1u));
      FUZZ_CHECK(asWhole.find_first_not_of(L'\xFFFD', headText.size()) == std::wstring::npos);
    }

    // The file on the disc, read up to a limit as LoadFile reads it.
    const std::size_t limit = data[size - 1] % (size + 2);
    sim::ResetWorld();
    sim::AddFile(L"D:\\Disc\\read.me.txt", std::string(bytes));
    LoadFileModule::TextHead read;
    FUZZ_CHECK(LoadFileModule::ReadTextHead(L"D:\\Disc\\read.me.txt", limit, read) ==
               platform::ReadStatus::Ok);
    FUZZ_CHECK(read.cut == (size > limit));
    const TextEnd readEnd = read.cut ? TextEnd::Cut : TextEnd::Whole;
    FUZZ_CHECK(read.text == DecodeText(bytes.substr(0, limit), readEnd));
    FUZZ_CHECK(read.encoding == DetectEncoding(bytes.substr(0, limit), readEnd));
  }
  return 0;
}
