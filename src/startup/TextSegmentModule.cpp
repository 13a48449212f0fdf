#include "startup/TextSegmentModule.h"

namespace TextSegmentModule {

// The pieces are found where they lie, without copying the others: the
// list of games asks for the last piece of every game's path.

std::int32_t CountSegments(const std::wstring& tText, const std::wstring& tSeparator) {
  if (tText.empty()) return 0;
  if (tSeparator.empty()) return 1;
  std::int32_t n = 1;
  for (std::size_t at = tText.find(tSeparator); at != std::wstring::npos;
       at = tText.find(tSeparator, at + tSeparator.size()))
    ++n;
  return n;
}

std::wstring TextSegment(const std::wstring& tText, const std::wstring& tSeparator,
                         std::int32_t& iIndex) {
  const std::int32_t n = CountSegments(tText, tSeparator);
  if (iIndex == 0) return std::to_wstring(n);
  if (n == 1) return tText;
  if (n == 0 || iIndex < 0) return std::wstring();
  if (iIndex > n) iIndex = n;
  std::size_t start = 0;
  for (std::int32_t k = 1; k < iIndex; ++k)
    start = tText.find(tSeparator, start) + tSeparator.size();
  const std::size_t end = tText.find(tSeparator, start);
  return tText.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

}  // namespace TextSegmentModule
