#include "platform/FolderOrder.h"

namespace platform {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Upper case for the scripts disc names use (Latin, Latin-1, Cyrillic).
wchar_t Fold(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
  return c;
}

int Sign(long long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

int CompareLikeExplorer(const std::wstring& a, const std::wstring& b) {
  std::size_t i = 0, j = 0;
  int tieBreak = 0;  // first difference in leading zeros, used when all else is equal
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::size_t zi = i, zj = j;
      while (i < a.size() && a[i] == L'0') ++i;
      while (j < b.size() && b[j] == L'0') ++j;
      const std::size_t si = i, sj = j;
      while (i < a.size() && IsDigit(a[i])) ++i;
      while (j < b.size() && IsDigit(b[j])) ++j;
      const std::size_t li = i - si, lj = j - sj;
      if (li != lj) return li < lj ? -1 : 1;  // more significant digits: larger
      for (std::size_t k = 0; k < li; ++k)
        if (a[si + k] != b[sj + k]) return a[si + k] < b[sj + k] ? -1 : 1;
      if (tieBreak == 0)
        tieBreak = Sign(static_cast<long long>(si - zi) - static_cast<long long>(sj - zj));
      continue;
    }
    const wchar_t ca = Fold(a[i]), cb = Fold(b[j]);
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i, ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  if (tieBreak != 0) return -tieBreak;  // equal numbers: more leading zeros first
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace platform
