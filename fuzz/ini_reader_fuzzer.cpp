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
#include "startup/IniEditorModule.h"
#include "util/TextDecodeModule.h"

namespace {

bool OneTrimmedLine(const std::wstring& s) {
  const std::wstring_view blanks(L" \t\r\n\v\f\x1A", 7);
  return s.find_first_of(L"\r\n") == std::wstring::npos &&
         (s.empty() ||
          (blanks.find(s.front()) == blanks.npos && blanks.find(s.back()) == blanks.npos));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = fuzz::Bytes(data, size);
  const std::wstring section = fuzz::Utf16Units(fuzz::TakeLine(bytes));
  const std::wstring key = fuzz::Utf16Units(fuzz::TakeLine(bytes));
  const std::wstring file = fuzz::OnDisc(bytes);
  const std::wstring value = IniEditorModule::ReadIni(file, section, key);
  const std::wstring text = IniEditorModule::ReadIniText(file);

  // One line's value, a piece of the file's text (read whole: the inputs
  // are far below the limit) or the default; the two-step reading agrees.
  FUZZ_CHECK(value.size() <= 254 && value.find_first_of(L"\r\n") == std::wstring::npos);
  FUZZ_CHECK(text == TextDecodeModule::DecodeText(bytes));
  FUZZ_CHECK(IniEditorModule::ReadIniFrom(text, section, key) == value);
  FUZZ_CHECK(value == L"0" || text.find(value) != std::wstring::npos);

  // The section's lines: trimmed names and values, one line each.
  std::vector<IniEditorModule::IniLine> lines;
  if (!IniEditorModule::SectionLines(text, section, lines))
    FUZZ_CHECK(lines.empty() && value == L"0");
  const IniEditorModule::IniLine* first = nullptr;
  for (const IniEditorModule::IniLine& line : lines) {
    FUZZ_CHECK((!line.name.empty() || line.hasValue) && (line.hasValue || line.value.empty()));
    FUZZ_CHECK(OneTrimmedLine(line.name) && OneTrimmedLine(line.value));
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
  sim::FindEntry(file)->locked = true;
  FUZZ_CHECK(IniEditorModule::ReadIni(file, section, key) == L"0");
  FUZZ_CHECK(IniEditorModule::ReadIni(L"D:\\Disc\\missing.ini", section, key) == L"0");
  return 0;
}
