#include "startup/IniValueModule.h"

#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <string>

namespace IniValueModule {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Scans a number at `i`; returns the index after it, or `i` when there is
// none. Only ASCII digits count, as in the program's number reading.
std::size_t ScanNumber(const std::wstring& s, std::size_t i) {
  const std::size_t start = i;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == L'.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return start;
  if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == L'+' || s[j] == L'-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

double Parse(const std::wstring& s, std::size_t from, std::size_t to) {
  std::string ascii;
  for (std::size_t k = from; k < to; ++k) ascii += static_cast<char>(s[k]);
  // strtod in the "C" locale reads a point as the decimal mark.
  return std::strtod(ascii.c_str(), nullptr);
}

std::size_t SkipBlanks(const std::wstring& s, std::size_t i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

}  // namespace

double LeadingNumber(const std::wstring& text) {
  const std::size_t start = SkipBlanks(text, 0);
  const std::size_t end = ScanNumber(text, start);
  return end == start ? 0.0 : Parse(text, start, end);
}

std::optional<std::int32_t> ToWholeNumber(const std::wstring& text) {
  const double rounded = std::nearbyint(LeadingNumber(text));  // default mode: halves to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

bool IsNumber(const std::wstring& text) {
  const std::size_t start = SkipBlanks(text, 0);
  std::size_t end = text.size();
  while (end > start && IsBlank(text[end - 1])) --end;
  return end > start && ScanNumber(text, start) == end;
}

std::optional<bool> ReadTruthValue(const std::wstring& text) {
  const std::size_t start = SkipBlanks(text, 0);
  std::size_t end = text.size();
  while (end > start && IsBlank(text[end - 1])) --end;
  std::wstring word;
  for (std::size_t k = start; k < end; ++k) word += static_cast<wchar_t>(std::towlower(text[k]));
  if (word == L"true") return true;
  if (word == L"false") return false;
  if (!IsNumber(text)) return std::nullopt;
  return Parse(text, start, end) != 0.0;
}

bool ToTruthValue(const std::wstring& text) { return ReadTruthValue(text).value_or(false); }

}  // namespace IniValueModule
