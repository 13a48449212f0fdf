// Reads one key of an INI file, as the system's profile reader does.
#pragma once

#include <cstddef>
#include <string>

namespace IniEditorModule {

// The value of `tKey` in section `tSection` of the file `tFile`, at most 254
// characters; "0" when the file, the section or the key is missing.
std::wstring ReadIni(const std::wstring& tFile, const std::wstring& tSection,
                     const std::wstring& tKey);

// ReadIni in two steps, for reading many keys of one file: its decoded text
// ("" when it cannot be read), and a key of that text.
std::wstring ReadIniText(const std::wstring& tFile);
std::wstring ReadIniFrom(const std::wstring& text, const std::wstring& tSection,
                         const std::wstring& tKey);

// The lookup on the file's decoded text: section and key names compared
// without regard to letter case and surrounding blanks, the first matching
// section and the first matching key win, blanks around the value dropped,
// one pair of matching quotes around it removed, the result cut to
// `bufferSize` - 1 characters. `defaultValue` when the key has no value.
std::wstring LookUp(const std::wstring& text, const std::wstring& section, const std::wstring& key,
                    const std::wstring& defaultValue, std::size_t bufferSize);

// What ReadIni reads of a file at most.
constexpr std::size_t kMaxIniBytes = 1 << 20;

}  // namespace IniEditorModule
