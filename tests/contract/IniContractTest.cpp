// The control file reader, held to what the system's profile reader returns
// for the same files: letter case of names, blanks, quotes, comments,
// duplicates, missing parts, long values, encodings.
#include <gtest/gtest.h>

#include "ContractWorld.h"
#include "startup/IniEditorModule.h"

namespace {

// UTF-16 with its byte-order mark, little-endian as the machines are.
const std::u16string kUtf16 = u"\uFEFF[main]\r\ndisk=Игры № 1\r\n";

struct IniCase {
  std::string file;  // none: no such file
  const wchar_t* section;
  const wchar_t* key;
  std::wstring expected;
};

const IniCase kCases[] = {
    {"[MAIN]\r\nDISK=Games\r\n", L"main", L"Disk", L"Games"},
    {"  [main]  \r\n  disk\t=   two words\t\r\n", L"main", L"disk", L"two words"},
    {"[main]\r\ndisk=\"Quoted \"\r\n", L"main", L"disk", L"Quoted "},
    {"[main]\r\ndisk='single'\r\n", L"main", L"disk", L"single"},
    {"[main]\r\ndisk=\"open\r\n", L"main", L"disk", L"\"open"},
    {"[main]\r\ndisk=a \"b\" c\r\n", L"main", L"disk", L"a \"b\" c"},
    {"[main]\r\n;disk=comment\r\ndisk=real\r\n", L"main", L"disk", L"real"},
    {"[main]\r\ndisk=value ; not a comment\r\n", L"main", L"disk", L"value ; not a comment"},
    {"[main]\r\ndisk=first\r\ndisk=second\r\n", L"main", L"disk", L"first"},
    {"[main]\r\ndisk=\r\n", L"main", L"disk", L""},
    {"[main]\r\ndisk\r\n", L"main", L"disk", L"0"},
    {"[other]\r\ndisk=elsewhere\r\n", L"main", L"disk", L"0"},
    {"disk=before any section\r\n[main]\r\n", L"main", L"disk", L"0"},
    // Only the first of two sections of one name counts.
    {"[main]\r\ndisk=first\r\n[main]\r\ndisk=second\r\n", L"main", L"disk", L"first"},
    {"[main]\r\nlist=x\r\n[MAIN]\r\ndisk=second\r\n", L"main", L"disk", L"0"},
    {"[ main ]\r\ndisk=a=b\r\n", L"main", L"disk", L"a=b"},
    {"[main]\ndisk=unix\n", L"main", L"disk", L"unix"},
    {"[main]\rdisk=old mac\r", L"main", L"disk", L"old mac"},
    {"[main]x\r\ndisk=after bracket\r\n", L"main", L"disk", L"after bracket"},
    {"[\xEC\xE5\xED\xFE]\r\n\xEA\xEB\xFE\xF7=\xC8\xE3\xF0\xFB \xB9 1\r\n", L"меню", L"ключ",
     L"Игры № 1"},
    {"[main]\r\ndisk=\x1A\r\n", L"main", L"disk", L""},
    {"[main]\r\ndisk=Disc \xD0", L"main", L"disk", L"Disc Р"},
    {"[main]\r\ndisk=" + std::string(300, 'v'), L"main", L"disk", std::wstring(254, L'v')},
    // A quoted value too long for the buffer loses its opening quote only.
    {"[main]\r\ndisk=\"" + std::string(300, 'v') + "\"", L"main", L"disk", std::wstring(254, L'v')},
    {"\xEF\xBB\xBF[main]\r\ndisk=\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE2\x84\x96 1\r\n", L"main",
     L"disk", L"Игры № 1"},
    {std::string(reinterpret_cast<const char*>(kUtf16.data()), kUtf16.size() * 2), L"main", L"disk",
     L"Игры № 1"},
};

TEST(IniContract, ReaderAgreesWithTheSystem) {
  const std::wstring dir = contract::ScratchFolder(L"ini");
  int n = 0;
  for (const IniCase& c : kCases) {
    const std::wstring file = dir + L"case" + std::to_wstring(n++) + L".ini";
    contract::WriteFile(file, c.file);
    SCOPED_TRACE(c.file.substr(0, 60));
    EXPECT_EQ(IniEditorModule::ReadIni(file, c.section, c.key), c.expected);
    if (const auto system = contract::SystemReadIni(file, c.section, c.key)) {
      EXPECT_EQ(*system, c.expected) << "the system's reader";
    }
  }
  const std::wstring missing = dir + L"none.ini";
  EXPECT_EQ(IniEditorModule::ReadIni(missing, L"main", L"disk"), L"0");
  EXPECT_EQ(contract::SystemReadIni(missing, L"main", L"disk").value_or(L"0"), L"0");
}

}  // namespace
