#include "startup/TextSegmentModule.h"

#include <vector>

namespace TextSegmentModule {
namespace {

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& separator) {
  std::vector<std::wstring> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    if (at == std::wstring::npos) break;
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

}  // namespace

std::int32_t CountSegments(const std::wstring& tText, const std::wstring& tSeparator) {
  return static_cast<std::int32_t>(Split(tText, tSeparator).size());
}

std::wstring TextSegment(const std::wstring& tText, const std::wstring& tSeparator,
                         std::int32_t& iIndex) {
  const std::vector<std::wstring> pieces = Split(tText, tSeparator);
  const auto n = static_cast<std::int32_t>(pieces.size());
  if (iIndex == 0) return std::to_wstring(n);
  if (n == 1) return tText;
  if (n == 0 || iIndex < 0) return std::wstring();
  if (iIndex > n) iIndex = n;
  return pieces[static_cast<std::size_t>(iIndex - 1)];
}

}  // namespace TextSegmentModule
