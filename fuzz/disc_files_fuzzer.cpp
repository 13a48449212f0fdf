// Installers, sounds and pictures over any file. The disc check's reading:
// a bounded walk of a Windows program's headers, sections and resource tree
// to its manifest, and of a RIFF WAVE file's chunks to its format and its
// sound; the file lies in the simulated file system and is read through the
// check's own file reader, once with the usual head kept in memory and once
// piece by piece from the disc, which must agree. And the checks a picture
// passes before any decoder sees it: what its header claims (JPEG, PNG, BMP,
// GIF), whether that size may be decoded, and whether a JPEG is complete,
// read through a source that checks every read and counts what it reads.
// And what makes a text show garbled: a foreign code page, UTF-8 mixed or
// cut, UTF-16 without its mark, a document under a text's name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "check/TextFault.h"
#include "check/WaveFormat.h"
#include "platform/shared/PictureHeader.h"
#include "util/TextDecodeModule.h"

namespace {

using check::Elevation;
using check::WaveVerdict;
using platform::PictureFormat;
using platform::PictureHeader;

void CheckProgram(const std::string& bytes, const check::FileBytes& file,
                  const check::FileBytes& unbuffered) {
  const check::ProgramFacts facts = check::ExamineProgram(file, L"setup.exe");
  const check::ProgramFacts again = check::ExamineProgram(unbuffered, L"setup.exe");
  FUZZ_CHECK(again.program == facts.program && again.level == facts.level &&
             again.elevation == facts.elevation);
  if (facts.program) FUZZ_CHECK(bytes.size() >= 64 && bytes.starts_with("MZ"));
  // A level is read from the file's own bytes (a UTF-16 manifest's
  // without its zero bytes); a name never overrides it.
  if (!facts.level.empty()) {
    std::string narrow;
    for (char c : bytes)
      if (c != '\0') narrow += c;
    FUZZ_CHECK(facts.program &&
               narrow.find(std::string(facts.level.begin(), facts.level.end())) != narrow.npos);
  }
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

class CountingBytes final : public platform::ByteSource {
 public:
  explicit CountingBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  // Every read lies inside the file and is at most the checks' larger window.
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override {
    FUZZ_CHECK(offset <= bytes_.size() && bytes_.size() - offset >= count && count <= 64 * 1024);
    ++reads_;
    bytesRead_ += count;
    if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }
  // Each pass over the file reads a byte about once (an EXIF segment is
  // looked at, then read whole), in few reads.
  void CheckReadsBounded(int passes) const {
    FUZZ_CHECK(bytesRead_ <= passes * bytes_.size() + 64 && reads_ <= bytes_.size() / 2 + 8);
  }

 private:
  std::string_view bytes_;
  mutable std::size_t reads_ = 0;
  mutable std::size_t bytesRead_ = 0;
};

bool SameHeader(const PictureHeader& a, const PictureHeader& b) {
  return a.format == b.format && a.width == b.width && a.height == b.height &&
         a.orientation == b.orientation;
}

void CheckPicture(std::string_view bytes) {
  const CountingBytes file(bytes);
  const PictureHeader header = platform::ReadPictureHeader(file);
  file.CheckReadsBounded(2);

  // The format is the one the first bytes name; only a JPEG is turned.
  if (header.format == PictureFormat::Jpeg) FUZZ_CHECK(bytes.starts_with("\xFF\xD8\xFF"));
  if (header.format == PictureFormat::Png) FUZZ_CHECK(bytes.starts_with("\x89PNG\r\n\x1A\n"));
  if (header.format == PictureFormat::Bmp) FUZZ_CHECK(bytes.starts_with("BM"));
  if (header.format == PictureFormat::Gif) FUZZ_CHECK(bytes.starts_with("GIF"));
  if (header.format == PictureFormat::None) FUZZ_CHECK(SameHeader(header, PictureHeader()));
  FUZZ_CHECK(header.orientation >= 1 && header.orientation <= 8);
  if (header.format != PictureFormat::Jpeg) FUZZ_CHECK(header.orientation == 1);

  // Nothing that claims more than 100 MP or 65,535 pixels a side passes.
  if (platform::PlausiblePictureSize(header)) {
    FUZZ_CHECK(header.format != PictureFormat::None && header.width >= 1 && header.height >= 1);
    FUZZ_CHECK(header.width <= 65535 && header.height <= 65535);
    FUZZ_CHECK(static_cast<unsigned long long>(header.width) * header.height <= 100000000ull);
  }

  // A JPEG is complete only with an end marker after its first scan.
  const CountingBytes jpeg(bytes);
  const bool complete = platform::JpegIsComplete(jpeg);
  jpeg.CheckReadsBounded(3);
  if (complete)
    FUZZ_CHECK(bytes.starts_with("\xFF\xD8") && bytes.find("\xFF\xD9", 2) != bytes.npos &&
               bytes.find("\xFF\xDA", 2) != bytes.npos);

  // Whatever follows a file changes nothing once the header (or the end of
  // a complete JPEG) was found: cameras append data after a JPEG's end.
  std::string longer(bytes);
  longer.append(bytes.rbegin(), bytes.rend());
  longer += std::string("\xFF\xD9\xFF\xD8\xFF\xDA\x00\x02", 8);
  if (header.format != PictureFormat::None)
    FUZZ_CHECK(SameHeader(platform::ReadPictureHeader(CountingBytes(longer)), header));
  if (complete) FUZZ_CHECK(platform::JpegIsComplete(CountingBytes(longer)));

  // What goes to a decoder is a plausible picture, and a JPEG only whole.
  PictureHeader worth;
  if (platform::WorthDecoding(CountingBytes(bytes), worth))
    FUZZ_CHECK(platform::PlausiblePictureSize(worth) &&
               (worth.format != PictureFormat::Jpeg || complete));
  FUZZ_CHECK(SameHeader(worth, header));
}

// What makes a text garbled: a verdict for any bytes, a mixed text's line
// within the text, and no fault where the program reads the text as it is.
void CheckText(const std::string& bytes) {
  for (bool cut : {false, true}) {
    const check::TextVerdict verdict = check::ExamineText(bytes, cut);
    const long lines = 1 + std::count(bytes.begin(), bytes.end(), '\n') +
                       std::count(bytes.begin(), bytes.end(), '\r');
    FUZZ_CHECK(verdict.fault == check::TextFault::Mixed ? verdict.line >= 1 && verdict.line <= lines
                                                        : verdict.line == 0);
    const auto end = cut ? TextDecodeModule::TextEnd::Cut : TextDecodeModule::TextEnd::Whole;
    const TextDecodeModule::Encoding encoding = TextDecodeModule::DetectEncoding(bytes, end);
    if (encoding == TextDecodeModule::Encoding::Utf16Le ||
        encoding == TextDecodeModule::Encoding::Utf16Be)
      FUZZ_CHECK(verdict.fault == check::TextFault::None);
    if (encoding != TextDecodeModule::Encoding::Ansi)
      FUZZ_CHECK(verdict.fault != check::TextFault::Dos866 &&
                 verdict.fault != check::TextFault::Koi8r &&
                 verdict.fault != check::TextFault::Utf8Cut);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(fuzz::Bytes(data, size));
  const std::wstring path = fuzz::OnDisc(bytes);
  const check::FileBytes file(path), unbuffered(path, 0);
  FUZZ_CHECK(file.Opened() && file.Size() == size);
  CheckProgram(bytes, file, unbuffered);
  CheckWave(bytes, file, unbuffered);
  CheckPicture(bytes);
  CheckText(bytes);
  return 0;
}
