#include "platform/FolderOrder.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace platform {
namespace {

// The system's collation of single characters, letter case ignored, for the
// characters disc names use: each string lists them from first to last.
// Symbols and punctuation (hyphen and apostrophe first, then the blanks):
constexpr std::wstring_view kSymbols =
    L"\u00AD'- \u00A0!\"#$%&()*,./:;?@[\\]^_`{|}~\u00A1\u00A6\u00A8\u00AF\u00B4\u00B8\u00BF"
    L"\u00A2\u00A3\u00A4\u00A5+<=>\u00B1\u00AB\u00BB\u00D7\u00F7\u00A7\u00A9\u00AC\u00AE\u00B0"
    L"\u00B5\u00B6\u00B7";
// Letters, after the signs that read like digits; an accented letter right
// after its plain one:
constexpr std::wstring_view kLetters =
    L"\u00BC\u00BD\u00BE\u00B9\u00B2\u00B3"
    L"a\u00AA\u00E1\u00E0\u00E2\u00E4\u00E3\u00E5\u00E6bc\u00E7d\u00F0e\u00E9\u00E8\u00EA\u00EB"
    L"fghi\u00ED\u00EC\u00EE\u00EFjklmn\u00F1o\u00BA\u00F3\u00F2\u00F4\u00F6\u00F5\u00F8pqrs\u00DF"
    L"t\u00FEu\u00FA\u00F9\u00FB\u00FCvwxy\u00FD\u00FFz"
    L"\u0430\u0431\u0432\u0433\u0453\u0434\u0452\u0435\u0450\u0451\u0454\u0436\u0437\u0455\u0438"
    L"\u045D\u0456\u0457\u0439\u0458\u043A\u045C\u043B\u0459\u043C\u043D\u045A\u043E\u043F\u0440"
    L"\u0441\u0442\u045B\u0443\u045E\u0444\u0445\u0446\u0447\u045F\u0448\u0449\u044A\u044B\u044C"
    L"\u044D\u044E\u044F";

enum Group : int { kSymbolGroup = 0, kNumberGroup = 1, kLetterGroup = 2 };

constexpr std::uint32_t kTableEnd = 0x460;       // the table covers U+0000 to U+045F
constexpr std::uint32_t kOtherLetters = 0x1000;  // characters it lacks: after its letters

struct Weight {
  Group group;
  std::uint32_t value;
};

// Lower case for the letters of the table.
std::uint32_t Fold(std::uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c == 0x178) return 0xFF;  // Ÿ
  return c;
}

const std::array<Weight, kTableEnd>& Table() {
  static const std::array<Weight, kTableEnd> table = [] {
    std::array<Weight, kTableEnd> t{};
    // Controls and anything unlisted below U+0460: by code, after the letters.
    for (std::uint32_t c = 0; c < kTableEnd; ++c) t[c] = {kLetterGroup, kOtherLetters + c};
    for (std::uint32_t c = 0; c < 0x20; ++c) t[c] = {kSymbolGroup, 0};
    for (std::uint32_t c = 0x7F; c < 0xA0; ++c) t[c] = {kSymbolGroup, 0};
    for (std::size_t k = 0; k < kSymbols.size(); ++k)
      t[static_cast<std::uint32_t>(kSymbols[k])] = {kSymbolGroup,
                                                    static_cast<std::uint32_t>(k + 1)};
    for (std::size_t k = 0; k < kLetters.size(); ++k)
      t[static_cast<std::uint32_t>(kLetters[k])] = {kLetterGroup, static_cast<std::uint32_t>(k)};
    return t;
  }();
  return table;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// One element of a name: a character, or a run of digits.
struct Element {
  Weight weight;
  std::wstring_view digits;  // a number's digits without its leading zeros
};

Element Next(std::wstring_view s, std::size_t& i) {
  if (IsDigit(s[i])) {
    while (i < s.size() && s[i] == L'0') ++i;
    const std::size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return {{kNumberGroup, 0}, s.substr(start, i - start)};
  }
  const std::uint32_t c = Fold(static_cast<std::uint32_t>(s[i]));
  ++i;
  if (c < kTableEnd) return {Table()[c], {}};
  return {{kLetterGroup, kOtherLetters + c}, {}};
}

int Sign(bool less) { return less ? -1 : 1; }

int CompareElements(const Element& x, const Element& y) {
  if (x.weight.group != y.weight.group) return Sign(x.weight.group < y.weight.group);
  if (x.weight.group != kNumberGroup) {
    if (x.weight.value != y.weight.value) return Sign(x.weight.value < y.weight.value);
    return 0;
  }
  // Numbers of any length: more significant digits is larger.
  if (x.digits.size() != y.digits.size()) return Sign(x.digits.size() < y.digits.size());
  const int c = x.digits.compare(y.digits);
  return c == 0 ? 0 : Sign(c < 0);
}

}  // namespace

int CompareLikeExplorer(const std::wstring& a, const std::wstring& b) {
  const std::wstring_view x(a), y(b);
  std::size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    const int c = CompareElements(Next(x, i), Next(y, j));
    if (c != 0) return c;
  }
  if (i < x.size()) return 1;
  if (j < y.size()) return -1;
  return 0;
}

}  // namespace platform
