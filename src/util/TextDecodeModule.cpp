#include "util/TextDecodeModule.h"

#include <cstdint>

#include "platform/Platform.h"

namespace TextDecodeModule {
namespace {

unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Length of the UTF-8 sequence that starts with `lead`, 0 when it cannot lead.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes one valid sequence at `i` (checked by IsUtf8 beforehand).
char32_t DecodeSequence(std::string_view s, std::size_t i, int length) {
  if (length == 1) return Byte(s, i);
  char32_t c = Byte(s, i) & (0xFFu >> (length + 1));
  for (int k = 1; k < length; ++k)
    c = (c << 6) | (Byte(s, i + static_cast<std::size_t>(k)) & 0x3Fu);
  return c;
}

void AppendUtf16(std::wstring& out, char32_t c) {
  if (c >= 0x10000 && sizeof(wchar_t) == 2) {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

std::wstring DecodeUtf8(std::string_view s) {
  std::wstring out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const int length = SequenceLength(Byte(s, i));
    if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) break;  // cut-off tail
    AppendUtf16(out, DecodeSequence(s, i, length));
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::wstring DecodeUtf16(std::string_view s, bool bigEndian) {
  std::wstring out;
  out.reserve(s.size() / 2);
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    const unsigned hi = bigEndian ? Byte(s, i) : Byte(s, i + 1);
    const unsigned lo = bigEndian ? Byte(s, i + 1) : Byte(s, i);
    out += static_cast<wchar_t>((hi << 8) | lo);
  }
  // A pair cut in half by the end of what was read is dropped.
  if (!out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF) out.pop_back();
  return out;
}

bool HasNonAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace

bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char lead = Byte(s, i);
    const int length = SequenceLength(lead);
    if (length == 0) return false;
    for (int k = 1; k < length; ++k) {
      const std::size_t at = i + static_cast<std::size_t>(k);
      if (at >= s.size()) return true;  // cut off at the end of what was read
      const unsigned char c = Byte(s, at);
      if ((c & 0xC0) != 0x80) return false;
      if (k == 1) {
        if (lead == 0xE0 && c < 0xA0) return false;  // overlong
        if (lead == 0xED && c > 0x9F) return false;  // surrogate
        if (lead == 0xF0 && c < 0x90) return false;  // overlong
        if (lead == 0xF4 && c > 0x8F) return false;  // above U+10FFFF
      }
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

Encoding DetectEncoding(std::string_view bytes) {
  if (bytes.size() >= 3 && Byte(bytes, 0) == 0xEF && Byte(bytes, 1) == 0xBB &&
      Byte(bytes, 2) == 0xBF)
    return Encoding::Utf8Bom;
  if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE)
    return Encoding::Utf16Le;
  if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF)
    return Encoding::Utf16Be;
  if (HasNonAscii(bytes) && IsUtf8(bytes)) return Encoding::Utf8;
  return Encoding::Ansi;
}

std::wstring DecodeText(std::string_view bytes) {
  switch (DetectEncoding(bytes)) {
    case Encoding::Utf8Bom:
      return DecodeUtf8(bytes.substr(3));
    case Encoding::Utf8:
      return DecodeUtf8(bytes);
    case Encoding::Utf16Le:
      return DecodeUtf16(bytes.substr(2), false);
    case Encoding::Utf16Be:
      return DecodeUtf16(bytes.substr(2), true);
    case Encoding::Ansi:
      break;
  }
  return platform::AnsiToWide(bytes);
}

}  // namespace TextDecodeModule
