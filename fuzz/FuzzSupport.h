// What the fuzz targets share: a check that turns a broken property into a
// finding, and a lenient reading of fuzz bytes as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A property every input must keep; a broken one aborts, which libFuzzer
// records as a crash with the input that broke it.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

namespace fuzz {

// UTF-8 where the bytes are UTF-8 (so that seeds can be written as text);
// any other byte becomes a lone surrogate, so that names with broken UTF-16,
// controls and every other code unit are reached as well.
inline std::wstring Utf16Units(std::string_view bytes) {
  std::wstring out;
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  auto follows = [&](std::size_t k) { return k < bytes.size() && (at(k) & 0xC0) == 0x80; };
  while (i < bytes.size()) {
    const unsigned char b = at(i);
    if (b < 0x80) {
      out += static_cast<wchar_t>(b);
      i += 1;
    } else if (b >= 0xC2 && b <= 0xDF && follows(i + 1)) {
      out += static_cast<wchar_t>((b & 0x1Fu) << 6 | (at(i + 1) & 0x3Fu));
      i += 2;
    } else if (b >= 0xE0 && b <= 0xEF && follows(i + 1) && follows(i + 2)) {
      out +=
          static_cast<wchar_t>((b & 0x0Fu) << 12 | (at(i + 1) & 0x3Fu) << 6 | (at(i + 2) & 0x3Fu));
      i += 3;
    } else {
      out += static_cast<wchar_t>(0xDC00 + b);
      i += 1;
    }
  }
  return out;
}

// The pieces of `bytes` between the first `count` - 1 separators; the last
// piece takes the rest (missing pieces are empty).
// Whether the text holds a surrogate without its partner.
inline bool HasLoneSurrogate(std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        ++i;
      else
        return true;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

// Pairs of bytes as UTF-16 code units, little-endian: any unit at all (an
// odd last byte is dropped).
inline std::wstring RawUnits(std::string_view bytes) {
  std::wstring out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    out += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                static_cast<unsigned char>(bytes[i + 1]) << 8);
  return out;
}

template <std::size_t count>
void SplitAt(std::string_view bytes, char separator, std::string_view (&pieces)[count]) {
  for (std::size_t k = 0; k + 1 < count; ++k) {
    const std::size_t at = bytes.find(separator);
    pieces[k] = bytes.substr(0, at);
    bytes = at == std::string_view::npos ? std::string_view() : bytes.substr(at + 1);
  }
  pieces[count - 1] = bytes;
}

}  // namespace fuzz
