// The control-file reader over any file: the input is the section's name,
// a line end, the key's name, a line end, then the file's bytes (whose last
// byte also sets the buffer size of a direct lookup). The file lies in the
// simulated file system, as on a disc.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/sim/Sim.h"
#include "startup/IniEditorModule.h"
#include "util/TextDecodeModule.h"

namespace {

bool HasLineEnd(const std::wstring& s) { return s.find_first_of(L"\r\n") != std::wstring::npos; }

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
         c == 0x1A;
}

bool Trimmed(const std::wstring& s) {
  return s.empty() || (!IsSpace(s.front()) && !IsSpace(s.back()));
}

}  // namespace

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
  const std::wstring text = IniEditorModule::ReadIniText(L"D:\\Disc\\autorun.ini");

  FUZZ_CHECK(value.size() <= 254);
  FUZZ_CHECK(!HasLineEnd(value));  // one line's value
  FUZZ_CHECK(!fuzz::HasLoneSurrogate(text));
  // The file is read whole (the inputs are far below the limit), and the
  // two-step reading gives what ReadIni gives.
  FUZZ_CHECK(text == TextDecodeModule::DecodeText(file));
  FUZZ_CHECK(IniEditorModule::ReadIniFrom(text, section, key) == value);
  // The value is a piece of the file's text, or the default.
  FUZZ_CHECK(value == L"0" || text.find(value) != std::wstring::npos);

  // The section's lines: trimmed names and values, one line each.
  std::vector<IniEditorModule::IniLine> lines;
  const bool found = IniEditorModule::SectionLines(text, section, lines);
  if (!found) FUZZ_CHECK(lines.empty() && value == L"0");
  const IniEditorModule::IniLine* first = nullptr;
  for (const IniEditorModule::IniLine& line : lines) {
    FUZZ_CHECK(!line.name.empty() || line.hasValue);
    FUZZ_CHECK(!HasLineEnd(line.name) && !HasLineEnd(line.value));
    FUZZ_CHECK(Trimmed(line.name) && Trimmed(line.value));
    FUZZ_CHECK(line.hasValue || line.value.empty());
    if (first == nullptr && IniEditorModule::SameName(line.name, key)) first = &line;
  }

  // A lookup with a buffer of any size: the first line of the key decides;
  // the value is cut to the buffer, losing at most its quotes besides.
  const std::size_t bufferSize = size > 0 ? data[size - 1] % 260 : 0;
  const std::wstring fallback = L"'default'";
  const std::wstring looked = IniEditorModule::LookUp(text, section, key, fallback, bufferSize);
  FUZZ_CHECK(looked.size() + 1 <= (bufferSize == 0 ? 1 : bufferSize));
  const std::wstring source = first != nullptr && first->hasValue ? first->value : fallback;
  FUZZ_CHECK(source.find(looked) != std::wstring::npos);
  if (bufferSize > source.size()) FUZZ_CHECK(looked.size() + 2 >= source.size());
  if (bufferSize == IniEditorModule::kValueBufferSize && first != nullptr && first->hasValue)
    FUZZ_CHECK(IniEditorModule::LookUp(text, section, key, L"0", bufferSize) == value);

  // A file that cannot be read, or is not there, gives the default.
  sim::FindEntry(L"D:\\Disc\\autorun.ini")->locked = true;
  FUZZ_CHECK(IniEditorModule::ReadIni(L"D:\\Disc\\autorun.ini", section, key) == L"0");
  FUZZ_CHECK(IniEditorModule::ReadIni(L"D:\\Disc\\missing.ini", section, key) == L"0");
  return 0;
}
