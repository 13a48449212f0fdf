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
