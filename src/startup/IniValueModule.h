// How the control file's texts become numbers and truth values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace IniValueModule {

// The longest leading number of `text` (leading blanks skipped, optional
// sign, a point as decimal mark, an optional exponent); 0 when there is none.
double LeadingNumber(const std::wstring& text);

// LeadingNumber rounded to the nearest whole number, halves to the even
// neighbour; nothing when the result lies outside the 32-bit signed range.
std::optional<std::int32_t> ToWholeNumber(const std::wstring& text);

// A number (0 false, any other true) or the word true/false in any letter
// case, blanks around it allowed; any other text, the empty one included,
// is false.
bool ToTruthValue(const std::wstring& text);

// Whether the whole text, blanks around it aside, is one number as
// LeadingNumber reads numbers.
bool IsNumber(const std::wstring& text);

// The truth value of a number or of the word true/false; nothing for any
// other text (which ToTruthValue takes for false).
std::optional<bool> ReadTruthValue(const std::wstring& text);

}  // namespace IniValueModule
