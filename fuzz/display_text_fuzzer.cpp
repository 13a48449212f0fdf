// A text made fit for a text box: the input's first byte chooses the longest
// line (or the program's own), the rest is UTF-16 code units of any value,
// so that line ends of every kind, NULs, blanks, surrogate pairs and lone
// surrogates all come up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "util/DisplayTextModule.h"

namespace {

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The characters without their line ends, a NUL read as a blank; `breaks`
// receives where the line ends fall in them.
std::wstring Characters(std::wstring_view text, std::vector<std::size_t>& breaks) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      breaks.push_back(out.size());
    } else {
      out += text[i] == L'\0' ? L' ' : text[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t maxLine =
      data[0] == 0 ? DisplayTextModule::kMaxLineChars : std::size_t{2} + data[0] % 40;
  std::wstring text;  // pairs of bytes as code units, little-endian
  for (std::size_t i = 1; i + 1 < size; i += 2)
    text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  const std::wstring shown = DisplayTextModule::DisplayText(text, maxLine);

  // Every line end is a CR LF, and no character but the line ends is a NUL.
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == L'\r') FUZZ_CHECK(i + 1 < shown.size() && shown[i + 1] == L'\n');
    if (shown[i] == L'\n') FUZZ_CHECK(i > 0 && shown[i - 1] == L'\r');
    FUZZ_CHECK(shown[i] != L'\0');
  }
  // A reader going from line to line meets every character in order, and
  // every line end of the text.
  std::vector<std::size_t> textBreaks, breaks;
  const std::wstring characters = Characters(text, textBreaks);
  FUZZ_CHECK(Characters(shown, breaks) == characters);
  std::size_t k = 0;
  for (std::size_t at : textBreaks) {
    while (k < breaks.size() && breaks[k] < at) ++k;
    FUZZ_CHECK(k < breaks.size() && breaks[k] == at);
    ++k;
  }
  // Each line short enough; a break the text did not have falls after the
  // line's last blank, with the next word too long to have fitted, else
  // where the line is full, never inside a surrogate pair.
  breaks.push_back(characters.size());
  std::size_t from = 0;
  for (std::size_t n = 0; n < breaks.size(); from = breaks[n++]) {
    const std::size_t to = breaks[n];
    FUZZ_CHECK(to - from <= maxLine);
    if (n + 1 == breaks.size() || std::count(textBreaks.begin(), textBreaks.end(), to) > 0)
      continue;
    FUZZ_CHECK(to > 0 && to < breaks[n + 1] &&
               !(IsHigh(characters[to - 1]) && IsLow(characters[to])));
    const std::wstring_view line(characters.data() + from, to - from);
    std::size_t nextBlank = to;
    while (nextBlank < breaks[n + 1] && !IsBlank(characters[nextBlank])) ++nextBlank;
    if (!line.empty() && IsBlank(line.back()))
      FUZZ_CHECK(line.size() + (nextBlank - to) >= maxLine);
    else
      FUZZ_CHECK(line.find_first_of(L" \t") == std::wstring_view::npos &&
                 (line.size() == maxLine || (line.size() == maxLine - 1 && to + 1 < breaks[n + 1] &&
                                             IsHigh(characters[to]) && IsLow(characters[to + 1]))));
  }
  return 0;
}
