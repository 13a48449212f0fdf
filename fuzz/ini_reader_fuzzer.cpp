// The control file: its reader over any text, a value split into pieces at a
// separator (TextSegment, CountSegments), and the number and truth value a
// text stands for. The input is the section's name, a line end, the key's
// name, a line end, then the file's bytes, whose last byte also sets the
// buffer size of a direct lookup and the index of the piece asked for. The
// names are read as the program reads a text file (UTF-8 seeds read as
// written); the section's name is also the text split at the key's name.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/TextSegmentModule.h"
#include "util/TextDecodeModule.h"

namespace {

void CheckLookUp(const std::wstring& text, const std::wstring& section, const std::wstring& key,
                 std::size_t bufferSize) {
  // One line's value, a piece of the file's text or the default.
  const std::wstring value = IniEditorModule::ReadIniFrom(text, section, key);
  FUZZ_CHECK(value.size() <= 254 && value.find_first_of(L"\r\n") == std::wstring::npos);
  FUZZ_CHECK(value == L"0" || text.find(value) != std::wstring::npos);
  std::vector<IniEditorModule::IniLine> lines;
  if (!IniEditorModule::SectionLines(text, section, lines))
    FUZZ_CHECK(lines.empty() && value == L"0");
  const IniEditorModule::IniLine* first = nullptr;
  for (const IniEditorModule::IniLine& line : lines)
    if (first == nullptr && IniEditorModule::SameName(line.name, key)) first = &line;

  // A lookup with a buffer of any size: the first line of the key decides;
  // the value is cut to the buffer, losing at most its quotes besides.
  const std::wstring fallback = L"'default'";
  const std::wstring looked = IniEditorModule::LookUp(text, section, key, fallback, bufferSize);
  FUZZ_CHECK(looked.size() + 1 <= (bufferSize == 0 ? 1 : bufferSize));
  const std::wstring source = first != nullptr && first->hasValue ? first->value : fallback;
  FUZZ_CHECK(source.find(looked) != std::wstring::npos);
  if (bufferSize > source.size()) FUZZ_CHECK(looked.size() + 2 >= source.size());
  if (bufferSize == IniEditorModule::kValueBufferSize && first != nullptr && first->hasValue)
    FUZZ_CHECK(IniEditorModule::LookUp(text, section, key, L"0", bufferSize) == value);
}

void CheckPieces(const std::wstring& text, const std::wstring& separator, std::int32_t index) {
  using TextSegmentModule::TextSegment;
  const std::int32_t count = TextSegmentModule::CountSegments(text, separator);
  FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= text.size() + 1);
  FUZZ_CHECK((count == 0) == text.empty());
  // Piece 0 is the count; an index past the last is lowered to the last.
  std::int32_t asked = index;
  const std::wstring piece = TextSegment(text, separator, asked);
  if (index == 0) FUZZ_CHECK(piece == std::to_wstring(count));
  FUZZ_CHECK(asked == (count > 1 && index > count ? count : index));
  // The pieces joined again at the separator are the text.
  if (count > 1 && count <= 64) {
    std::int32_t first = 1;
    std::wstring joined = TextSegment(text, separator, first);
    for (std::int32_t k = 2; k <= count; ++k) joined += separator + TextSegment(text, separator, k);
    FUZZ_CHECK(joined == text);
  }
}

// What the unit tests' table holds (blanks around a number, a word after
// it, "true" in any case) is not checked again here.
void CheckValues(const std::wstring& text) {
  const double number = IniValueModule::LeadingNumber(text);
  FUZZ_CHECK(!std::isnan(number));
  FUZZ_CHECK(number == 0.0 || text.find_first_of(L"123456789") != std::wstring::npos);
  const std::optional<std::int32_t> whole = IniValueModule::ToWholeNumber(text);
  FUZZ_CHECK(whole ? std::fabs(number - *whole) <= 0.5 : !(std::fabs(number) < 2147483647.0));
  // A number text reads as true when it is not zero; ToTruthValue is false
  // where there is no truth value.
  const std::optional<bool> truth = IniValueModule::ReadTruthValue(text);
  FUZZ_CHECK(IniValueModule::ToTruthValue(text) == truth.value_or(false));
  if (IniValueModule::IsNumber(text)) FUZZ_CHECK(truth == std::optional<bool>(number != 0.0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = fuzz::Bytes(data, size);
  const std::wstring section = TextDecodeModule::DecodeText(fuzz::TakeLine(bytes));
  const std::wstring key = TextDecodeModule::DecodeText(fuzz::TakeLine(bytes));
  const std::uint8_t last = size > 0 ? data[size - 1] : 0;
  const std::wstring text = TextDecodeModule::DecodeText(bytes);
  CheckLookUp(text, section, key, last % 260);
  CheckPieces(section, key, static_cast<std::int8_t>(last));
  for (const std::wstring& value : {section, key, IniEditorModule::ReadIniFrom(text, section, key)})
    CheckValues(value);
  return 0;
}
