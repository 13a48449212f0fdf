#include "util/DisplayTextModule.h"

namespace DisplayTextModule {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::wstring DisplayText(std::wstring_view text, std::size_t maxLine) {
  if (maxLine < 2) maxLine = 2;  // room for a surrogate pair
  std::wstring out;
  out.reserve(text.size() + text.size() / maxLine * 2 + 2);
  std::size_t lineStart = 0;   // where the current line starts in `out`
  std::size_t afterBlank = 0;  // just after its last blank, 0 when it has none
  std::size_t column = 0;      // of the text's own line, for the tab stops
  const auto put = [&](wchar_t c) {
    if (out.size() - lineStart == maxLine) {
      // The line is full: break it after its last blank, else here, but
      // never inside a surrogate pair.
      std::size_t at = afterBlank > lineStart ? afterBlank : out.size();
      if (at == out.size() && IsLowSurrogate(c) && IsHighSurrogate(out.back())) --at;
      out.insert(at, L"\r\n");
      lineStart = at + 2;
      afterBlank = 0;
    }
    out += c;
    if (c == L' ') afterBlank = out.size();
    ++column;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L"\r\n";
      lineStart = out.size();
      afterBlank = 0;
      column = 0;
    } else if (c == L'\t') {
      do put(L' ');
      while (column % kTabColumns != 0);
    } else {
      put(c == L'\0' ? L' ' : c);
    }
  }
  return out;
}

}  // namespace DisplayTextModule
