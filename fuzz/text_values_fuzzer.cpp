// The control file's small text rules: a text split into pieces at a
// separator (TextSegment, CountSegments), and the number and truth value a
// text stands for. The input is four bytes of piece index, then the text,
// a NUL, and the separator.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "startup/IniValueModule.h"
#include "startup/TextSegmentModule.h"

namespace {

void CheckPieces(const std::wstring& text, const std::wstring& separator, std::int32_t index) {
  using TextSegmentModule::TextSegment;
  const std::int32_t count = TextSegmentModule::CountSegments(text, separator);
  FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= text.size() + 1);
  FUZZ_CHECK((count == 0) == text.empty());
  // Piece 0 is the count; an index past the last is lowered to the last.
  std::int32_t asked = index;
  const std::wstring piece = TextSegment(text, separator, asked);
  if (index == 0) FUZZ_CHECK(piece == std::to_wstring(count));
  if (count == 1 && index != 0) FUZZ_CHECK(piece == text);
  FUZZ_CHECK(asked == (count > 1 && index > count ? count : index));
  // The pieces joined again at the separator are the text.
  if (count > 1 && count <= 64) {
    std::int32_t first = 1;
    std::wstring joined = TextSegment(text, separator, first);
    for (std::int32_t k = 2; k <= count; ++k) joined += separator + TextSegment(text, separator, k);
    FUZZ_CHECK(joined == text);
  }
}

void CheckValues(const std::wstring& text) {
  const double number = IniValueModule::LeadingNumber(text);
  FUZZ_CHECK(!std::isnan(number));
  FUZZ_CHECK(number == 0.0 || text.find_first_of(L"123456789") != std::wstring::npos);
  const std::optional<std::int32_t> whole = IniValueModule::ToWholeNumber(text);
  FUZZ_CHECK(whole ? std::fabs(number - *whole) <= 0.5 : !(std::fabs(number) < 2147483647.0));
  // A number text reads as true when it is not zero; blanks around it change
  // nothing, anything after it makes it no number. ToTruthValue is false
  // where there is no truth value; true only for a number other than zero,
  // or "true".
  const std::optional<bool> truth = IniValueModule::ReadTruthValue(text);
  FUZZ_CHECK(IniValueModule::ToTruthValue(text) == truth.value_or(false));
  if (IniValueModule::IsNumber(text)) {
    FUZZ_CHECK(truth == std::optional<bool>(number != 0.0));
    FUZZ_CHECK(IniValueModule::IsNumber(L" \t" + text + L"\t ") &&
               !IniValueModule::IsNumber(text + L"x"));
    FUZZ_CHECK(IniValueModule::LeadingNumber(text + L"x") == number);
  }
  if (IniValueModule::ToTruthValue(text)) {
    std::wstring word;
    for (wchar_t c : text)
      if (c != L' ' && c != L'\t') word += static_cast<wchar_t>(c | 0x20);
    FUZZ_CHECK(number != 0.0 || word == L"true");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::int32_t index = 0;
  std::memcpy(&index, data, 4);
  const std::string_view rest = fuzz::Bytes(data + 4, size - 4);
  const std::size_t nul = rest.find('\0');
  const std::wstring text = fuzz::Utf16Units(rest.substr(0, nul));
  const std::wstring separator = nul == rest.npos ? L"\\" : fuzz::Utf16Units(rest.substr(nul + 1));
  CheckPieces(text, separator, index);
  CheckValues(text);
  CheckValues(separator);
  return 0;
}
