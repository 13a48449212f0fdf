// Small files of a disc for the tests and benchmarks: sounds and program files
// made byte by byte.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace testfiles {

inline void Put16(std::string& b, std::size_t at, unsigned v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A RIFF WAVE file: `samples` bytes of silence in the given format.
inline std::string Wave(unsigned formatTag = 1, unsigned channels = 1, unsigned rate = 22050,
                        unsigned bits = 16, std::size_t samples = 64) {
  std::string b(44, '\0');
  b.replace(0, 4, "RIFF");
  Put32(b, 4, static_cast<std::uint32_t>(36 + samples));
  b.replace(8, 8, "WAVEfmt ");
  Put32(b, 16, 16);
  Put16(b, 20, formatTag);
  Put16(b, 22, channels);
  Put32(b, 24, rate);
  const unsigned block = channels * ((bits + 7) / 8);
  Put32(b, 28, rate * block);
  Put16(b, 32, block);
  Put16(b, 34, bits);
  b.replace(36, 4, "data");
  Put32(b, 40, static_cast<std::uint32_t>(samples));
  return b + std::string(samples, '\0');
}

// A 16-bit mono PCM wave file at 22,050 Hz: a sine tone of `hertz` lasting
// `seconds`.
inline std::string Tone(double seconds, double hertz) {
  const unsigned rate = 22050;
  const auto samples = static_cast<std::size_t>(seconds * rate);
  std::string b = Wave(1, 1, rate, 16, 2 * samples);
  for (std::size_t i = 0; i < samples; ++i) {
    const double value = 12000.0 * std::sin(2 * 3.14159265358979 * hertz * i / rate);
    Put16(b, 44 + 2 * i, static_cast<unsigned>(static_cast<int>(value)) & 0xFFFF);
  }
  return b;
}

// A Windows program file (headers only, no code): 32- or 64-bit, with an
// embedded manifest when `manifest` is not empty.
inline std::string Program(bool is64Bit, const std::string& manifest = std::string()) {
  const std::size_t optionalSize = is64Bit ? 240 : 224;
  std::string b(0x200, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, 0x40);
  b.replace(0x40, 4, std::string("PE\0\0", 4));
  Put16(b, 0x44, is64Bit ? 0x8664 : 0x014C);
  Put16(b, 0x46, manifest.empty() ? 0 : 1);
  Put16(b, 0x54, static_cast<unsigned>(optionalSize));
  Put16(b, 0x56, 0x0102);
  const std::size_t optional = 0x58;
  Put16(b, optional, is64Bit ? 0x20B : 0x10B);
  const std::size_t count = optional + (is64Bit ? 108 : 92);
  Put32(b, count, 16);
  if (manifest.empty()) return b;

  // One section, .rsrc at 0x1000, stored at 0x200: the resource tree
  // manifest (24) / 1 / language 1033, then the manifest itself.
  std::string rsrc(0x58, '\0');
  Put16(rsrc, 0x0E, 1);
  Put32(rsrc, 0x10, 24);
  Put32(rsrc, 0x14, 0x80000000u | 0x18);
  Put16(rsrc, 0x18 + 0x0E, 1);
  Put32(rsrc, 0x18 + 0x10, 1);
  Put32(rsrc, 0x18 + 0x14, 0x80000000u | 0x30);
  Put16(rsrc, 0x30 + 0x0E, 1);
  Put32(rsrc, 0x30 + 0x10, 1033);
  Put32(rsrc, 0x30 + 0x14, 0x48);
  Put32(rsrc, 0x48, 0x1000 + 0x58);
  Put32(rsrc, 0x4C, static_cast<std::uint32_t>(manifest.size()));
  rsrc += manifest;
  const std::size_t directory = count + 4 + 2 * 8;
  Put32(b, directory, 0x1000);
  Put32(b, directory + 4, static_cast<std::uint32_t>(rsrc.size()));
  const std::size_t section = optional + optionalSize;
  b.replace(section, 5, ".rsrc");
  Put32(b, section + 8, static_cast<std::uint32_t>(rsrc.size()));
  Put32(b, section + 12, 0x1000);
  Put32(b, section + 16, static_cast<std::uint32_t>(rsrc.size()));
  Put32(b, section + 20, 0x200);
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
