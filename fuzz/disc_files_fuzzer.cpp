// The disc check's reading of installers and sounds over any file: a
// bounded walk of a Windows program's headers, sections and resource tree
// to its manifest, and of a RIFF WAVE file's chunks to its format and its
// sound. The input is the file; it lies in the simulated file system and is
// read through the check's own file reader, once with the usual head kept in
// memory and once piece by piece from the disc, which must agree.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "check/WaveFormat.h"

namespace {

using check::Elevation;
using check::WaveVerdict;

void CheckProgram(const std::string& bytes, const check::FileBytes& file,
                  const check::FileBytes& unbuffered) {
  const check::ProgramFacts facts = check::ExamineProgram(file, L"setup.exe");
  const check::ProgramFacts again = check::ExamineProgram(unbuffered, L"setup.exe");
  FUZZ_CHECK(again.program == facts.program && again.is64Bit == facts.is64Bit &&
             again.level == facts.level && again.elevation == facts.elevation);
  if (facts.program) FUZZ_CHECK(bytes.size() >= 64 && bytes.starts_with("MZ"));
  if (facts.is64Bit) FUZZ_CHECK(facts.program);
  // A level is read from the file's own bytes (a UTF-16 manifest's
  // without its zero bytes), and only a level that asks for rights does.
  if (!facts.level.empty()) {
    std::string narrow;
    for (char c : bytes)
      if (c != '\0') narrow += c;
    FUZZ_CHECK(facts.program &&
               narrow.find(std::string(facts.level.begin(), facts.level.end())) != narrow.npos);
  }
  const bool asks = facts.level == L"requireAdministrator" || facts.level == L"highestAvailable";
  FUZZ_CHECK((facts.elevation == Elevation::Manifest) == asks);
  if (facts.elevation == Elevation::InstallerName) FUZZ_CHECK(facts.level.empty());
  // A name that does not look like an installer's is never taken for one.
  const check::ProgramFacts game = check::ExamineProgram(file, L"game.exe");
  FUZZ_CHECK(game.elevation != Elevation::InstallerName && game.level == facts.level &&
             game.program == facts.program);
  // The manifest reader over the bytes themselves: a value within its tag.
  FUZZ_CHECK(check::ManifestLevel(bytes).find_first_of(L">\0") == std::wstring::npos);
}

void CheckWave(const std::string& bytes, const check::FileBytes& file,
               const check::FileBytes& unbuffered) {
  const check::WaveFacts facts = check::ExamineWave(file);
  const check::WaveFacts again = check::ExamineWave(unbuffered);
  FUZZ_CHECK(again.verdict == facts.verdict && again.formatTag == facts.formatTag &&
             again.channels == facts.channels && again.sampleRate == facts.sampleRate &&
             again.bitsPerSample == facts.bitsPerSample);
  const bool riffWave =
      bytes.size() >= 12 && bytes.starts_with("RIFF") && bytes.compare(8, 4, "WAVE") == 0;
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
    FUZZ_CHECK(bytes.find("data", bytes.find("fmt ")) != std::string::npos);
  }
  if (facts.verdict == WaveVerdict::NotWave || facts.verdict == WaveVerdict::NoFormat) return;
  FUZZ_CHECK(bytes.find("fmt ", 12) != std::string::npos);
  // What follows the sound changes nothing about a file whose sound was found.
  if (facts.verdict == WaveVerdict::NoSound) return;
  const check::WaveFacts longer = check::ExamineWave(check::FileBytes(fuzz::OnDisc(bytes + bytes)));
  FUZZ_CHECK(longer.verdict == facts.verdict && longer.formatTag == facts.formatTag);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(fuzz::Bytes(data, size));
  const std::wstring path = fuzz::OnDisc(bytes);
  const check::FileBytes file(path), unbuffered(path, 0);
  FUZZ_CHECK(file.Opened() && file.Size() == size);
  CheckProgram(bytes, file, unbuffered);
  CheckWave(bytes, file, unbuffered);
  return 0;
}
