// The control-file reader over any file: the input is the section's name,
// a line end, the key's name, a line end, then the file's bytes. The file
// lies in the simulated file system, as on a disc.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/sim/Sim.h"
#include "startup/IniEditorModule.h"
#include "util/TextDecodeModule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view pieces[3];
  fuzz::SplitAt(std::string_view(reinterpret_cast<const char*>(data), size), '\n', pieces);
  const std::wstring section = fuzz::Utf16Units(pieces[0]);
  const std::wstring key = fuzz::Utf16Units(pieces[1]);
  const std::string file(pieces[2]);

  sim::ResetWorld();
  sim::AddFolder(L"D:\\Disc");
  sim::AddFile(L"D:\\Disc\\autorun.ini", file);
  const std::wstring value = IniEditorModule::ReadIni(L"D:\\Disc\\autorun.ini", section, key);

  FUZZ_CHECK(value.size() <= 254);
  FUZZ_CHECK(value.find_first_of(L"\r\n") == std::wstring::npos);  // one line's value
  // The value is a piece of the file's text, or the default.
  const std::wstring text = TextDecodeModule::DecodeText(file);
  FUZZ_CHECK(value == L"0" || text.find(value) != std::wstring::npos);

  // A file that cannot be read, or is not there, gives the default.
  sim::FindEntry(L"D:\\Disc\\autorun.ini")->locked = true;
  FUZZ_CHECK(IniEditorModule::ReadIni(L"D:\\Disc\\autorun.ini", section, key) == L"0");
  FUZZ_CHECK(IniEditorModule::ReadIni(L"D:\\Disc\\missing.ini", section, key) == L"0");
  return 0;
}
