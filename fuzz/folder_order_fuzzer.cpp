// The order of game folders: the comparison must be a strict weak order for
// any names, or sorting the list may go wrong; letter case and a number's
// leading zeros make no difference. The input is three names, each ended
// by a line end and read as the program reads a text file: a seed written
// in UTF-8 reads as written, one after a UTF-16 mark can hold any character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/shared/FolderOrder.h"
#include "util/TextDecodeModule.h"

namespace {

int Compare(const std::wstring& a, const std::wstring& b) {
  const int c = platform::CompareLikeExplorer(a, b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Upper case of the letters whose case the comparison ignores, and a zero
// put before the first number.
std::wstring Variant(std::wstring s) {
  for (wchar_t& c : s) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x430 && c <= 0x44F))
      c = static_cast<wchar_t>(c - 0x20);
    else if (c >= 0x450 && c <= 0x45F)
      c = static_cast<wchar_t>(c - 0x50);
    else if (c == 0xFF)
      c = static_cast<wchar_t>(0x178);
  }
  const std::size_t at = s.find_first_of(L"0123456789");
  return at == std::wstring::npos ? s : s.insert(at, 1, L'0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = fuzz::Bytes(data, size);
  std::wstring names[3];
  for (std::wstring& name : names) name = TextDecodeModule::DecodeText(fuzz::TakeLine(bytes));
  // Irreflexive, antisymmetric, and transitive for the order and for
  // equivalence, in every arrangement.
  for (int i = 0; i < 27; ++i) {
    const std::wstring &x = names[i % 3], &y = names[i / 3 % 3], &z = names[i / 9];
    const int xy = Compare(x, y), yz = Compare(y, z), xz = Compare(x, z);
    FUZZ_CHECK(xy == -Compare(y, x));
    if (xy <= 0 && yz <= 0) FUZZ_CHECK(xz == (xy < 0 || yz < 0 ? -1 : 0));
  }
  FUZZ_CHECK(Compare(Variant(names[0]), names[0]) == 0);
  FUZZ_CHECK(Compare(Variant(names[0]), names[1]) == Compare(names[0], names[1]));
  return 0;
}
