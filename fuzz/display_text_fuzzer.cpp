// A text made fit for a text box: the input's first byte chooses the longest
// line (or the program's own), the rest is UTF-16 code units of any value,
// so that line ends of every kind, NULs, blanks, surrogate pairs and lone
// surrogates all come up.
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
// receives where the line ends fall in that sequence.
std::wstring Characters(std::wstring_view text, std::vector<std::size_t>& breaks) {
  std::wstring out;
  breaks.clear();
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
  const std::wstring text =
      fuzz::RawUnits(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  const std::wstring shown = DisplayTextModule::DisplayText(text, maxLine);

  // Every line end is a CR LF, and no character but the line ends is a NUL.
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == L'\r') FUZZ_CHECK(i + 1 < shown.size() && shown[i + 1] == L'\n');
    if (shown[i] == L'\n') FUZZ_CHECK(i > 0 && shown[i - 1] == L'\r');
    FUZZ_CHECK(shown[i] != L'\0');
  }

  // A reader going from line to line meets every character in order.
  std::vector<std::size_t> textBreaks, shownBreaks;
  const std::wstring characters = Characters(text, textBreaks);
  FUZZ_CHECK(Characters(shown, shownBreaks) == characters);

  // The text's own line ends all stay; the lines between are short enough.
  std::size_t k = 0;
  for (std::size_t at : textBreaks) {
    while (k < shownBreaks.size() && shownBreaks[k] < at) ++k;
    FUZZ_CHECK(k < shownBreaks.size() && shownBreaks[k] == at);
    ++k;
  }
  std::vector<std::size_t> lineStarts(1, 0);
  for (std::size_t at : shownBreaks) lineStarts.push_back(at);
  lineStarts.push_back(characters.size());
  std::size_t t = 0;
  for (std::size_t n = 0; n + 1 < lineStarts.size(); ++n) {
    const std::size_t from = lineStarts[n], to = lineStarts[n + 1];
    FUZZ_CHECK(to - from <= maxLine);
    if (n + 1 == lineStarts.size() - 1) break;  // the last line ends with the text
    while (t < textBreaks.size() && textBreaks[t] < to) ++t;
    if (t < textBreaks.size() && textBreaks[t] == to) continue;  // the text's own line end
    // A break the text did not have: never inside a surrogate pair, after
    // the line's last blank that fits, else where the line is full.
    FUZZ_CHECK(
        !(to > 0 && to < characters.size() && IsHigh(characters[to - 1]) && IsLow(characters[to])));
    const std::wstring_view line(characters.data() + from, to - from);
    const std::size_t nextEnd = lineStarts[n + 2];
    std::size_t nextBlank = to;
    while (nextBlank < nextEnd && !IsBlank(characters[nextBlank])) ++nextBlank;
    FUZZ_CHECK(to < nextEnd);
    if (!line.empty() && IsBlank(line.back())) {
      // The next word (to its blank) would not have fitted as well.
      FUZZ_CHECK(line.size() + (nextBlank - to) >= maxLine);
    } else {
      FUZZ_CHECK(line.find_first_of(L" \t") == std::wstring_view::npos);
      FUZZ_CHECK(line.size() == maxLine || (line.size() == maxLine - 1 && IsHigh(characters[to]) &&
                                            to + 1 < nextEnd && IsLow(characters[to + 1])));
    }
  }

  // A text without lone surrogates (as the decoder gives) shows none.
  if (!fuzz::HasLoneSurrogate(text)) FUZZ_CHECK(!fuzz::HasLoneSurrogate(shown));
  return 0;
}
