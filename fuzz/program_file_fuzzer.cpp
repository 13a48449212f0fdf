// The disc check's reading of installers: a bounded walk of a Windows
// program's headers, sections and resource tree to its manifest, over any
// file. The input is the file; it lies in the simulated file system and is
// read through the check's own file reader, once with the usual head kept
// in memory and once read piece by piece from the disc, which must agree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "platform/sim/Sim.h"

namespace {

bool SameFacts(const check::ProgramFacts& a, const check::ProgramFacts& b) {
  return a.program == b.program && a.is64Bit == b.is64Bit && a.level == b.level &&
         a.elevation == b.elevation;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  sim::ResetWorld();
  sim::AddFolder(L"D:\\Disc\\games\\Game");
  sim::AddFile(L"D:\\Disc\\games\\Game\\setup.exe", bytes);
  const check::FileBytes file(L"D:\\Disc\\games\\Game\\setup.exe");
  const check::FileBytes unbuffered(L"D:\\Disc\\games\\Game\\setup.exe", 0);
  FUZZ_CHECK(file.Opened() && file.Size() == size);
  const check::ProgramFacts facts = check::ExamineProgram(file, L"setup.exe");
  FUZZ_CHECK(SameFacts(check::ExamineProgram(unbuffered, L"setup.exe"), facts));

  if (facts.program) FUZZ_CHECK(size >= 64 && bytes.compare(0, 2, "MZ") == 0);
  if (facts.is64Bit) FUZZ_CHECK(facts.program);
  // A level is read from the file's own bytes (a UTF-16 manifest's
  // without its zero bytes), and only a level that asks for rights does.
  if (!facts.level.empty()) {
    FUZZ_CHECK(facts.program);
    std::string narrow;
    for (char c : bytes)
      if (c != '\0') narrow += c;
    FUZZ_CHECK(narrow.find(std::string(facts.level.begin(), facts.level.end())) !=
               std::string::npos);
  }
  const bool asks = facts.level == L"requireAdministrator" || facts.level == L"highestAvailable";
  FUZZ_CHECK((facts.elevation == check::Elevation::Manifest) == asks);
  if (facts.elevation == check::Elevation::InstallerName) FUZZ_CHECK(facts.level.empty());

  // A name that does not look like an installer's is never taken for one.
  const check::ProgramFacts game = check::ExamineProgram(file, L"game.exe");
  FUZZ_CHECK(game.elevation != check::Elevation::InstallerName);
  FUZZ_CHECK(game.level == facts.level && game.program == facts.program);

  // The manifest reader over the bytes themselves: a value within its tag.
  const std::wstring level = check::ManifestLevel(bytes);
  FUZZ_CHECK(level.find_first_of(L">\0") == std::wstring::npos);
  return 0;
}
