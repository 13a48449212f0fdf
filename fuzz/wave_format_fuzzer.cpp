// The disc check's reading of sounds: the RIFF WAVE header and the walk from
// chunk to chunk to the format and the sound, over any file. The input is
// the file; it lies in the simulated file system and is read through the
// check's own file reader, with its head kept in memory and without.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "check/FileBytes.h"
#include "check/WaveFormat.h"
#include "platform/sim/Sim.h"

using check::WaveVerdict;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  sim::ResetWorld();
  sim::AddFolder(L"D:\\Disc\\autorun");
  sim::AddFile(L"D:\\Disc\\autorun\\click.wav", bytes);
  const check::WaveFacts facts =
      check::ExamineWave(check::FileBytes(L"D:\\Disc\\autorun\\click.wav"));
  const check::WaveFacts unbuffered =
      check::ExamineWave(check::FileBytes(L"D:\\Disc\\autorun\\click.wav", 0));
  FUZZ_CHECK(facts.verdict == unbuffered.verdict && facts.formatTag == unbuffered.formatTag &&
             facts.channels == unbuffered.channels && facts.sampleRate == unbuffered.sampleRate &&
             facts.bitsPerSample == unbuffered.bitsPerSample);

  const bool riffWave =
      size >= 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0;
  FUZZ_CHECK((facts.verdict == WaveVerdict::NotWave) == !riffWave);
  if (facts.verdict == WaveVerdict::Playable) {
    // A sound the system plays: a format it knows, sensible numbers, and a
    // chunk of sound after the format.
    FUZZ_CHECK(facts.channels >= 1 && facts.channels <= 8);
    FUZZ_CHECK(facts.sampleRate >= 1 && facts.sampleRate <= 384000);
    if (facts.formatTag == 1)
      FUZZ_CHECK(facts.bitsPerSample % 8 == 0 && facts.bitsPerSample >= 8 &&
                 facts.bitsPerSample <= 32);
    if (facts.formatTag == 3) FUZZ_CHECK(facts.bitsPerSample == 32);
    FUZZ_CHECK(bytes.find("fmt ") != std::string::npos);
    FUZZ_CHECK(bytes.find("data", bytes.find("fmt ")) != std::string::npos);
  }
  if (facts.verdict != WaveVerdict::NotWave && facts.verdict != WaveVerdict::NoFormat)
    FUZZ_CHECK(bytes.find("fmt ", 12) != std::string::npos);

  // What follows the sound changes nothing about a file whose sound was found.
  if (facts.verdict != WaveVerdict::NotWave && facts.verdict != WaveVerdict::NoFormat &&
      facts.verdict != WaveVerdict::NoSound) {
    sim::AddFile(L"D:\\Disc\\autorun\\long.wav", bytes + bytes);
    const check::WaveFacts longer =
        check::ExamineWave(check::FileBytes(L"D:\\Disc\\autorun\\long.wav"));
    FUZZ_CHECK(longer.verdict == facts.verdict && longer.formatTag == facts.formatTag);
  }
  return 0;
}
