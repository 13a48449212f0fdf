#include "util/TextDecodeModule.h"

#include <cstdint>

#include "platform/Platform.h"

namespace TextDecodeModule {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// One step through UTF-8: a well-formed sequence, a maximal invalid subpart,
// or the start of a well-formed sequence that the end of the bytes cuts off.
struct Step {
  enum Kind { Valid, Invalid, Unfinished } kind;
  std::size_t length;  // bytes taken
  char32_t value;      // of a valid sequence
};

// The well-formed byte sequences: the lead gives the length and the range
// of the second byte; every further byte is 80..BF.
Step Scan(std::string_view s, std::size_t i) {
  const unsigned char lead = Byte(s, i);
  if (lead < 0x80) return {Step::Valid, 1, lead};
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // shorter forms are overlong
    if (lead == 0xED) high = 0x9F;  // beyond are the surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return {Step::Invalid, 1, 0};
  }
  char32_t value = lead & (0xFFu >> (length + 1));
  for (int k = 1; k < length; ++k) {
    const std::size_t at = i + static_cast<std::size_t>(k);
    if (at >= s.size()) return {Step::Unfinished, static_cast<std::size_t>(k), 0};
    const unsigned char c = Byte(s, at);
    if (c < low || c > high) return {Step::Invalid, static_cast<std::size_t>(k), 0};
    value = (value << 6) | (c & 0x3Fu);
    low = 0x80;
    high = 0xBF;
  }
  return {Step::Valid, static_cast<std::size_t>(length), value};
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

std::wstring DecodeUtf8(std::string_view s, TextEnd end) {
  std::wstring out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const Step step = Scan(s, i);
    if (step.kind == Step::Unfinished && end == TextEnd::Cut) break;  // its rest lies beyond
    AppendUtf16(out, step.kind == Step::Valid ? step.value : kReplacement);
    i += step.length;
  }
  return out;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::wstring DecodeUtf16(std::string_view s, bool bigEndian, TextEnd end) {
  const std::size_t units = s.size() / 2;
  auto unit = [&](std::size_t n) -> char32_t {
    const unsigned first = Byte(s, 2 * n), second = Byte(s, 2 * n + 1);
    return bigEndian ? (first << 8) | second : (second << 8) | first;
  };
  std::wstring out;
  out.reserve(units);
  for (std::size_t n = 0; n < units; ++n) {
    const char32_t c = unit(n);
    if (IsHighSurrogate(c) && n + 1 < units && IsLowSurrogate(unit(n + 1))) {
      AppendUtf16(out, 0x10000 + ((c - 0xD800) << 10) + (unit(n + 1) - 0xDC00));
      ++n;
    } else if (IsHighSurrogate(c) && n + 1 == units && end == TextEnd::Cut) {
      break;  // its partner lies beyond the cut
    } else {
      AppendUtf16(out, IsHighSurrogate(c) || IsLowSurrogate(c) ? kReplacement : c);
    }
  }
  // An odd last byte: half a unit, whose other half lies beyond the cut or
  // nowhere.
  if (s.size() % 2 != 0 && end == TextEnd::Whole) AppendUtf16(out, kReplacement);
  return out;
}

}  // namespace

Encoding DetectEncoding(std::string_view bytes, TextEnd end) {
  if (bytes.size() >= 3 && Byte(bytes, 0) == 0xEF && Byte(bytes, 1) == 0xBB &&
      Byte(bytes, 2) == 0xBF)
    return Encoding::Utf8Bom;
  if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE)
    return Encoding::Utf16Le;
  if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF)
    return Encoding::Utf16Be;
  // UTF-8 needs at least one whole non-ASCII character: a cut text whose
  // only non-ASCII bytes are its last ones may just as well be ANSI.
  bool nonAscii = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const Step step = Scan(bytes, i);
    if (step.kind == Step::Invalid) return Encoding::Ansi;
    if (step.kind == Step::Unfinished) {
      if (end == TextEnd::Whole) return Encoding::Ansi;
      break;
    }
    nonAscii = nonAscii || step.length > 1;
    i += step.length;
  }
  return nonAscii ? Encoding::Utf8 : Encoding::Ansi;
}

Utf8Reading ReadAsUtf8(std::string_view bytes) {
  Utf8Reading reading;
  for (std::size_t i = 0; i < bytes.size();) {
    const Step step = Scan(bytes, i);
    if (step.kind == Step::Unfinished) {
      reading.endsInside = true;
      break;
    }
    if (step.kind == Step::Invalid) {
      if (reading.firstInvalid == std::string_view::npos) reading.firstInvalid = i;
    } else if (step.length > 1) {
      ++reading.nonAscii;
      if (step.value >= 0x400 && step.value <= 0x4FF) ++reading.cyrillic;
    }
    i += step.length;
  }
  return reading;
}

std::wstring DecodeText(std::string_view bytes, TextEnd end) {
  switch (DetectEncoding(bytes, end)) {
    case Encoding::Utf8Bom:
      return DecodeUtf8(bytes.substr(3), end);
    case Encoding::Utf8:
      return DecodeUtf8(bytes, end);
    case Encoding::Utf16Le:
      return DecodeUtf16(bytes.substr(2), false, end);
    case Encoding::Utf16Be:
      return DecodeUtf16(bytes.substr(2), true, end);
    case Encoding::Ansi:
      break;
  }
  return platform::AnsiToWide(bytes);
}

}  // namespace TextDecodeModule
