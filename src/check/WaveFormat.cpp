#include "check/WaveFormat.h"

#include <cstdint>

namespace check {
namespace {

constexpr unsigned kPcm = 0x0001, kFloat = 0x0003, kExtensible = 0xFFFE;
// Compressed formats the system plays through the codecs it ships with:
// Microsoft ADPCM, A-law, mu-law, IMA ADPCM, GSM 6.10, MPEG layer 3.
constexpr unsigned kShippedCodecs[] = {0x0002, 0x0006, 0x0007, 0x0011, 0x0031, 0x0055};
// A file with more chunks than this before its sound is not worth walking.
constexpr int kMaxChunks = 256;

bool KnownCodec(unsigned tag) {
  for (unsigned codec : kShippedCodecs)
    if (codec == tag) return true;
  return false;
}

}  // namespace

WaveFacts ExamineWave(const FileBytes& file) {
  WaveFacts facts;
  std::string riff;
  if (!file.Read(0, 12, riff) || riff.compare(0, 4, "RIFF") != 0 || riff.compare(8, 4, "WAVE") != 0)
    return facts;
  facts.verdict = WaveVerdict::NoFormat;
  bool haveFormat = false;
  std::uint64_t at = 12;
  for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
    std::string head;
    if (!file.Read(at, 8, head)) break;
    const std::uint32_t size = Le32(head, 4);
    if (head.compare(0, 4, "fmt ") == 0 && !haveFormat) {
      std::string fmt;
      if (size < 16 || !file.Read(at + 8, 16, fmt)) return facts;
      haveFormat = true;
      facts.formatTag = Le16(fmt, 0);
      facts.channels = Le16(fmt, 2);
      facts.sampleRate = Le32(fmt, 4);
      facts.bitsPerSample = Le16(fmt, 14);
      if (facts.formatTag == kExtensible && size >= 40) {
        std::string sub;  // the sub-format's first two bytes are its format tag
        if (file.Read(at + 8 + 24, 2, sub)) facts.formatTag = Le16(sub, 0);
      }
    } else if (head.compare(0, 4, "data") == 0) {
      if (!haveFormat) return facts;  // the sound comes before its format
      if (size == 0) {
        facts.verdict = WaveVerdict::NoSound;
        return facts;
      }
      const unsigned tag = facts.formatTag;
      const bool pcmBits = facts.bitsPerSample == 8 || facts.bitsPerSample == 16 ||
                           facts.bitsPerSample == 24 || facts.bitsPerSample == 32;
      if (facts.channels == 0 || facts.channels > 8 || facts.sampleRate == 0 ||
          facts.sampleRate > 384000)
        facts.verdict = WaveVerdict::BadFormat;
      else if (tag == kPcm)
        facts.verdict = pcmBits ? WaveVerdict::Playable : WaveVerdict::BadFormat;
      else if (tag == kFloat)
        facts.verdict = facts.bitsPerSample == 32 ? WaveVerdict::Playable : WaveVerdict::BadFormat;
      else
        facts.verdict = KnownCodec(tag) ? WaveVerdict::Playable : WaveVerdict::UnknownFormat;
      return facts;
    }
    at += 8 + static_cast<std::uint64_t>(size) + (size & 1);  // chunks are padded to even sizes
  }
  if (haveFormat) facts.verdict = WaveVerdict::NoSound;
  return facts;
}

}  // namespace check
