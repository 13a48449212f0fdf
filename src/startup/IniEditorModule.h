// Reads one key of an INI file, as the system's profile reader does.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "util/LoadFileModule.h"

namespace IniEditorModule {

// The value of `tKey` in section `tSection` of the file `tFile`, at most 254
// characters; "0" when the file, the section or the key is missing.
std::wstring ReadIni(const std::wstring& tFile, const std::wstring& tSection,
                     const std::wstring& tKey);

// ReadIni in two steps, for reading many keys of one file: its decoded text
// ("" when it cannot be read), and a key of that text.
std::wstring ReadIniText(const std::wstring& tFile);
// What ReadIniText reads of `tFile`, with its encoding and whether it was cut
// (and its bytes, when `bytes` is given); false when the file cannot be read.
bool ReadIniHead(const std::wstring& tFile, LoadFileModule::TextHead& head,
                 std::string* bytes = nullptr);
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

// The buffer ReadIni reads a value into: values are cut to one character less.
constexpr std::size_t kValueBufferSize = 255;

// Whether two section or key names are the same name to the reader (letter
// case and surrounding blanks aside).
bool SameName(const std::wstring& a, const std::wstring& b);

// One line of a section that is not blank: a key and its value, or a line
// without "=", which LookUp takes for a key without a value.
struct IniLine {
  std::wstring name;  // blanks around it dropped
  bool hasValue = false;
  std::wstring value;  // blanks around it dropped, quotes kept
  int number = 0;      // the line's number in the text, counted from 1
};

// The lines of the first section named `section`, in their order; false
// when the text has no such section.
bool SectionLines(const std::wstring& text, const std::wstring& section,
                  std::vector<IniLine>& lines);

}  // namespace IniEditorModule
