#include "startup/IniEditorModule.h"

#include <cwctype>
#include <string_view>

#include "platform/Platform.h"
#include "util/LoadFileModule.h"

namespace IniEditorModule {
namespace {

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
// with the same quote loses the opening one, and the last character copied
// too when the rest of the value is no longer than the buffer (a buffer of
// one character, which holds nothing, keeps nothing to lose).
std::wstring CopyValue(std::wstring_view value, std::size_t bufferSize) {
  bool quoted = false;
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  const std::size_t room = bufferSize - 1;
  std::wstring out(value.substr(0, room));
  if (quoted && bufferSize >= value.size() && !out.empty()) out.pop_back();
  return out;
}

}  // namespace

bool SameName(const std::wstring& a, const std::wstring& b) {
  return EqualNoCase(Trim(a), Trim(b));
}

bool SectionLines(const std::wstring& text, const std::wstring& section,
                  std::vector<IniLine>& lines) {
  lines.clear();
  const std::wstring_view wantedSection = Trim(section);
  const std::wstring_view all(text);

  bool inWanted = false;  // inside the first section of the wanted name
  std::size_t pos = 0;
  int number = 0;
  while (pos < all.size()) {
    std::size_t end = pos;
    while (end < all.size() && all[end] != L'\n' && all[end] != L'\r') ++end;
    const std::wstring_view line = Trim(all.substr(pos, end - pos));
    const int lineNumber = ++number;
    pos = end;
    // CR LF ends one line; a CR or LF alone ends one too, and each further
    // one ends a blank line.
    while (pos < all.size() && (all[pos] == L'\n' || all[pos] == L'\r')) {
      if (pos > end && !(all[pos] == L'\n' && all[pos - 1] == L'\r')) ++number;
      ++pos;
    }
    if (line.empty()) continue;

    if (line.front() == L'[') {
      const std::size_t close = line.rfind(L']');
      if (close != std::wstring_view::npos && close > 0) {
        if (inWanted) return true;  // only the first section of that name counts
        inWanted = EqualNoCase(Trim(line.substr(1, close - 1)), wantedSection);
        continue;
      }
    }
    if (!inWanted) continue;

    IniLine entry;
    entry.number = lineNumber;
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) {
      entry.name = std::wstring(line);
    } else {
      entry.name = std::wstring(Trim(line.substr(0, equals)));
      entry.hasValue = true;
      entry.value = std::wstring(Trim(line.substr(equals + 1)));
    }
    lines.push_back(std::move(entry));
  }
  return inWanted;
}

std::wstring LookUp(const std::wstring& text, const std::wstring& section, const std::wstring& key,
                    const std::wstring& defaultValue, std::size_t bufferSize) {
  if (bufferSize == 0) return std::wstring();
  std::vector<IniLine> lines;
  SectionLines(text, section, lines);
  const std::wstring_view wantedKey = Trim(key);
  for (const IniLine& line : lines) {
    if (!EqualNoCase(line.name, wantedKey)) continue;
    if (!line.hasValue) break;  // a key without a value
    return CopyValue(line.value, bufferSize);
  }
  return CopyValue(defaultValue, bufferSize);
}

bool ReadIniHead(const std::wstring& tFile, LoadFileModule::TextHead& head, std::string* bytes) {
  return LoadFileModule::ReadTextHead(tFile, kMaxIniBytes, head, bytes) == platform::ReadStatus::Ok;
}

std::wstring ReadIniText(const std::wstring& tFile) {
  LoadFileModule::TextHead head;
  return ReadIniHead(tFile, head) ? std::move(head.text) : std::wstring();
}

std::wstring ReadIniFrom(const std::wstring& text, const std::wstring& tSection,
                         const std::wstring& tKey) {
  return LookUp(text, tSection, tKey, L"0", kValueBufferSize);
}

std::wstring ReadIni(const std::wstring& tFile, const std::wstring& tSection,
                     const std::wstring& tKey) {
  return ReadIniFrom(ReadIniText(tFile), tSection, tKey);
}

}  // namespace IniEditorModule
