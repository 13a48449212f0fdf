#include "startup/IniEditorModule.h"

#include <cwctype>
#include <string_view>

#include "platform/Platform.h"
#include "util/TextDecodeModule.h"

namespace IniEditorModule {
namespace {

constexpr std::size_t kBufferSize = 255;

// Blanks as the profile reader trims them (Ctrl+Z included).
bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
         c == 0x1A;
}

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

// Copies the value as the profile reader does: a value that starts and ends
// with the same quote loses the opening one, and the closing one too when
// the whole value fits into the buffer.
std::wstring CopyValue(std::wstring_view value, std::size_t bufferSize) {
  bool quoted = false;
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  const std::size_t room = bufferSize - 1;
  std::wstring out(value.substr(0, room));
  if (quoted && bufferSize >= value.size()) out.pop_back();
  return out;
}

}  // namespace

std::wstring LookUp(const std::wstring& text, const std::wstring& section, const std::wstring& key,
                    const std::wstring& defaultValue, std::size_t bufferSize) {
  if (bufferSize == 0) return std::wstring();
  const std::wstring_view wantedSection = Trim(section);
  const std::wstring_view wantedKey = Trim(key);
  const std::wstring_view all(text);

  bool inWanted = false;    // inside the first section of the wanted name
  bool seenWanted = false;  // that section has begun
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = pos;
    while (end < all.size() && all[end] != L'\n' && all[end] != L'\r') ++end;
    const std::wstring_view line = Trim(all.substr(pos, end - pos));
    pos = end;
    while (pos < all.size() && (all[pos] == L'\n' || all[pos] == L'\r')) ++pos;
    if (line.empty()) continue;

    if (line.front() == L'[') {
      const std::size_t close = line.rfind(L']');
      if (close != std::wstring_view::npos && close > 0) {
        if (inWanted) break;  // only the first section of that name counts
        const std::wstring_view name = Trim(line.substr(1, close - 1));
        inWanted = !seenWanted && EqualNoCase(name, wantedSection);
        seenWanted = seenWanted || inWanted;
        continue;
      }
    }
    if (!inWanted) continue;

    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) {
      if (EqualNoCase(line, wantedKey)) break;  // a key without a value
      continue;
    }
    if (!EqualNoCase(Trim(line.substr(0, equals)), wantedKey)) continue;
    return CopyValue(Trim(line.substr(equals + 1)), bufferSize);
  }
  return CopyValue(defaultValue, bufferSize);
}

std::wstring ReadIni(const std::wstring& tFile, const std::wstring& tSection,
                     const std::wstring& tKey) {
  std::string bytes;
  std::wstring text;
  if (platform::ReadFileHead(tFile, kMaxIniBytes + 1, bytes) == platform::ReadStatus::Ok)
    text = TextDecodeModule::DecodeHead(bytes, kMaxIniBytes);
  return LookUp(text, tSection, tKey, L"0", kBufferSize);
}

}  // namespace IniEditorModule
