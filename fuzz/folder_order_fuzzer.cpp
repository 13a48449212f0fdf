// The order of game folders: the comparison must be a strict weak order for
// any names, or sorting the list may go wrong. The input is three names
// separated by line ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/FolderOrder.h"

namespace {

int Compare(const std::wstring& a, const std::wstring& b) {
  const int c = platform::CompareLikeExplorer(a, b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Upper case of the letters whose case the comparison ignores.
std::wstring Upper(std::wstring s) {
  for (wchar_t& c : s) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x430 && c <= 0x44F))
      c = static_cast<wchar_t>(c - 0x20);
    else if (c >= 0x450 && c <= 0x45F)
      c = static_cast<wchar_t>(c - 0x50);
    else if (c == 0xFF)
      c = static_cast<wchar_t>(0x178);
  }
  return s;
}

// The name with a zero put before its first number.
std::wstring MoreLeadingZeros(const std::wstring& s) {
  const std::size_t at = s.find_first_of(L"0123456789");
  if (at == std::wstring::npos) return s;
  return s.substr(0, at) + L"0" + s.substr(at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view pieces[3];
  fuzz::SplitAt(std::string_view(reinterpret_cast<const char*>(data), size), '\n', pieces);
  const std::wstring a = fuzz::Utf16Units(pieces[0]);
  const std::wstring b = fuzz::Utf16Units(pieces[1]);
  const std::wstring c = fuzz::Utf16Units(pieces[2]);

  // Irreflexive, antisymmetric.
  for (const std::wstring* x : {&a, &b, &c}) FUZZ_CHECK(Compare(*x, *x) == 0);
  FUZZ_CHECK(Compare(a, b) == -Compare(b, a));
  FUZZ_CHECK(Compare(b, c) == -Compare(c, b));
  FUZZ_CHECK(Compare(a, c) == -Compare(c, a));

  // Transitive, for the order and for equivalence, in every arrangement.
  const std::wstring* names[3] = {&a, &b, &c};
  const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& o : orders) {
    const std::wstring& x = *names[o[0]];
    const std::wstring& y = *names[o[1]];
    const std::wstring& z = *names[o[2]];
    const int xy = Compare(x, y), yz = Compare(y, z), xz = Compare(x, z);
    if (xy <= 0 && yz <= 0) FUZZ_CHECK(xz == (xy < 0 || yz < 0 ? -1 : 0));
  }

  // Letter case and leading zeros make no difference.
  FUZZ_CHECK(Compare(Upper(a), a) == 0);
  FUZZ_CHECK(Compare(MoreLeadingZeros(a), a) == 0);
  FUZZ_CHECK(Compare(Upper(a), b) == Compare(a, b));
  return 0;
}
