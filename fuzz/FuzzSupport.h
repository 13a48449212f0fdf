// What the fuzz targets share: a check that turns a broken property into a
// finding, readings of fuzz bytes as text, and a file on a simulated disc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sim/Sim.h"

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

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// UTF-8 where the bytes are UTF-8 (so that seeds can be written as text);
// any other byte becomes a lone surrogate, so that names with broken UTF-16,
// controls and every other code unit are reached as well.
inline std::wstring Utf16Units(std::string_view s) {
  std::wstring out;
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]) & 0x3Fu; };
  auto follows = [&](std::size_t k) { return k < s.size() && (s[k] & 0xC0) == 0x80; };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<wchar_t>(b);
    } else if (b >= 0xC2 && b <= 0xDF && follows(i + 1)) {
      out += static_cast<wchar_t>((b & 0x1Fu) << 6 | at(++i));
    } else if (b >= 0xE0 && b <= 0xEF && follows(i + 1) && follows(i + 2)) {
      out += static_cast<wchar_t>((b & 0x0Fu) << 12 | at(i + 1) << 6 | at(i + 2));
      i += 2;
    } else {
      out += static_cast<wchar_t>(0xDC00 + b);
    }
  }
  return out;
}

// The bytes up to the first line end, taken off the front of `bytes`.
inline std::string_view TakeLine(std::string_view& bytes) {
  const std::size_t at = bytes.find('\n');
  const std::string_view line = bytes.substr(0, at);
  bytes = at == std::string_view::npos ? std::string_view() : bytes.substr(at + 1);
  return line;
}

// The bytes as a file alone on a simulated disc; returns its path.
inline std::wstring OnDisc(std::string_view bytes) {
  sim::ResetWorld();
  sim::AddFolder(L"D:\\Disc");
  sim::AddFile(L"D:\\Disc\\file", std::string(bytes));
  return L"D:\\Disc\\file";
}

}  // namespace fuzz
