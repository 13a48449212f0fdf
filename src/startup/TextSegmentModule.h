// One piece of a text split at a separator, or the number of pieces.
#pragma once

#include <cstdint>
#include <string>

namespace TextSegmentModule {

// The number of pieces of `tText` split at every `tSeparator`: 0 for an
// empty text, 1 for a text without the separator.
std::int32_t CountSegments(const std::wstring& tText, const std::wstring& tSeparator);

// Piece `iIndex` (from 1) of `tText`. A text of one piece is returned whole
// for any index; an index past the last piece is lowered to the count, in
// the caller's variable too, and gives the last piece. Index 0 gives the
// count as text. An empty text, or a negative index, gives "".
std::wstring TextSegment(const std::wstring& tText, const std::wstring& tSeparator,
                         std::int32_t& iIndex);

}  // namespace TextSegmentModule
