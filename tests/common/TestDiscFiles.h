// Small files of a disc for the tests and benchmarks: sounds and program files
// made byte by byte.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace testfiles {

// `value` in `bytes` bytes, the lowest first.
inline std::string LE(std::uint32_t value, int bytes = 4) {
  std::string b;
  for (int i = 0; i < bytes; ++i) b += static_cast<char>((value >> (8 * i)) & 0xFF);
  return b;
}

// A RIFF WAVE file: `samples` bytes of silence in the given format.
inline std::string Wave(unsigned formatTag = 1, unsigned channels = 1, unsigned rate = 22050,
                        unsigned bits = 16, std::size_t samples = 64) {
  const auto size = static_cast<std::uint32_t>(samples);
  const unsigned block = channels * ((bits + 7) / 8);
  return "RIFF" + LE(36 + size) + "WAVEfmt " + LE(16) + LE(formatTag, 2) + LE(channels, 2) +
         LE(rate) + LE(rate * block) + LE(block, 2) + LE(bits, 2) + "data" + LE(size) +
         std::string(samples, '\0');
}

// A 16-bit mono PCM wave file at 22,050 Hz: a sine tone of `hertz` lasting
// `seconds`.
inline std::string Tone(double seconds, double hertz) {
  const auto samples = static_cast<std::size_t>(seconds * 22050);
  std::string b = Wave(1, 1, 22050, 16, 2 * samples).substr(0, 44);
  for (std::size_t i = 0; i < samples; ++i)
    b += LE(static_cast<std::uint32_t>(
                static_cast<int>(12000.0 * std::sin(2 * 3.14159265358979 * hertz * i / 22050))),
            2);
  return b;
}

// A Windows program file (headers only, no code): 32- or 64-bit, with an
// embedded manifest when `manifest` is not empty.
inline std::string Program(bool is64Bit, const std::string& manifest = std::string()) {
  const std::uint32_t optionalSize = is64Bit ? 240 : 224, section = 0x58 + optionalSize;
  const std::uint32_t count = 0x58 + (is64Bit ? 108 : 92);  // of the data directories
  std::string b = "MZ" + std::string(0x3A, '\0') + LE(0x40) + "PE" + std::string(0x1BE, '\0');
  // The file header, then the optional header's first field.
  b.replace(0x44, 22,
            LE(is64Bit ? 0x8664 : 0x014C, 2) + LE(manifest.empty() ? 0 : 1, 2) +
                std::string(12, '\0') + LE(optionalSize, 2) + LE(0x0102, 2) +
                LE(is64Bit ? 0x20B : 0x10B, 2));
  b.replace(count, 4, LE(16));
  if (manifest.empty()) return b;

  // One section, .rsrc at 0x1000, stored at 0x200: the resource tree, one
  // entry a level (manifest 24 / 1 / language 1033), its data entry and the
  // manifest.
  std::string rsrc;
  const std::uint32_t ids[] = {24, 1, 1033};
  for (std::uint32_t level = 0; level < 3; ++level)
    rsrc += std::string(14, '\0') + LE(1, 2) + LE(ids[level]) +
            LE(level < 2 ? 0x80000000u | (0x18 * (level + 1)) : 0x48);
  const auto size = static_cast<std::uint32_t>(0x58 + manifest.size());
  rsrc += LE(0x1000 + 0x58) + LE(size - 0x58) + std::string(8, '\0') + manifest;
  b.replace(count + 4 + 2 * 8, 8, LE(0x1000) + LE(size));
  b.replace(section, 24,
            std::string(".rsrc\0\0\0", 8) + LE(size) + LE(0x1000) + LE(size) + LE(0x200));
  return b + rsrc;
}

// A manifest asking for the given execution level.
inline std::string Manifest(const std::string& level) {
  return "<?xml version=\"1.0\"?><assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" "
         "manifestVersion=\"1.0\"><trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"
         "<security><requestedPrivileges><requestedExecutionLevel level=\"" +
         level + "\" uiAccess=\"false\"/></requestedPrivileges></security></trustInfo></assembly>";
}

}  // namespace testfiles
