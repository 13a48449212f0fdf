// The control file reader, held to what the system's profile reader returns
// for the same files: letter case of names, blanks, quotes, comments,
// duplicates, missing parts, long values.
#include <gtest/gtest.h>

#include "ContractWorld.h"
#include "startup/IniEditorModule.h"

namespace {

struct IniCase {
  const char* file;
  const wchar_t* section;
  const wchar_t* key;
  std::wstring expected;
};

const std::string k300(300, 'v');

const IniCase kCases[] = {
    {"[main]\r\ndisk=Games\r\n", L"main", L"disk", L"Games"},
    {"[MAIN]\r\nDISK=Games\r\n", L"main", L"disk", L"Games"},
    {"[main]\r\ndisk=Games\r\n", L"Main", L"Disk", L"Games"},
    {"[main]\r\n  disk  =   two words  \r\n", L"main", L"disk", L"two words"},
    {"  [main]  \r\ndisk\t=\tTab\t\r\n", L"main", L"disk", L"Tab"},
    {"[main]\r\ndisk=\"Quoted \"\r\n", L"main", L"disk", L"Quoted "},
    {"[main]\r\ndisk='single'\r\n", L"main", L"disk", L"single"},
    {"[main]\r\ndisk=\"open\r\n", L"main", L"disk", L"\"open"},
    {"[main]\r\ndisk=\"mixed'\r\n", L"main", L"disk", L"\"mixed'"},
    {"[main]\r\ndisk=\"\r\n", L"main", L"disk", L"\""},
    {"[main]\r\ndisk=\"\"\r\n", L"main", L"disk", L""},
    {"[main]\r\ndisk=a \"b\" c\r\n", L"main", L"disk", L"a \"b\" c"},
    {"[main]\r\n;disk=comment\r\ndisk=real\r\n", L"main", L"disk", L"real"},
    {"[main]\r\ndisk=value ; not a comment\r\n", L"main", L"disk", L"value ; not a comment"},
    {"[main]\r\ndisk=first\r\ndisk=second\r\n", L"main", L"disk", L"first"},
    {"[main]\r\ndisk=\r\n", L"main", L"disk", L""},
    {"[main]\r\ndisk\r\n", L"main", L"disk", L"0"},
    {"[main]\r\n", L"main", L"disk", L"0"},
    {"[other]\r\ndisk=elsewhere\r\n", L"main", L"disk", L"0"},
    {"disk=before any section\r\n[main]\r\n", L"main", L"disk", L"0"},
    {"[main]\r\nlist=x\r\n[other]\r\ndisk=later\r\n", L"main", L"disk", L"0"},
    {"[main]\r\ndisk=first\r\n[main]\r\ndisk=second\r\n", L"main", L"disk", L"first"},
    {"[main]\r\nlist=x\r\n[main]\r\ndisk=second\r\n", L"main", L"disk", L"0"},
    {"[ main ]\r\ndisk=spaced\r\n", L"main", L"disk", L"spaced"},
    {"[main]\r\ndisk=a=b\r\n", L"main", L"disk", L"a=b"},
    {"[main]\ndisk=unix\n", L"main", L"disk", L"unix"},
    {"[main]\rdisk=old mac\r", L"main", L"disk", L"old mac"},
    {"[main]x\r\ndisk=after bracket\r\n", L"main", L"disk", L"after bracket"},
    {"[main]\r\ndisk=\xC8\xE3\xF0\xFB \xB9 1\r\n", L"main", L"disk", L"Игры № 1"},
    {"[\xEC\xE5\xED\xFE]\r\n\xEA\xEB\xFE\xF7=ru\r\n", L"меню", L"ключ", L"ru"},
    {"[main]\r\ndisk=\x1A\r\n", L"main", L"disk", L""},
    {"[main]\r\ndisk=Disc \xDF", L"main", L"disk", L"Disc Я"},
    {"[main]\r\ndisk=Disc \xD0", L"main", L"disk", L"Disc Р"},
};

TEST(IniContract, ReaderAgreesWithTheSystem) {
  const std::wstring dir = contract::ScratchFolder(L"ini");
  int n = 0;
  for (const IniCase& c : kCases) {
    const std::wstring file = dir + L"case" + std::to_wstring(n++) + L".ini";
    contract::WriteFile(file, c.file);
    SCOPED_TRACE(c.file);
    EXPECT_EQ(IniEditorModule::ReadIni(file, c.section, c.key), c.expected);
    if (contract::HasSystemIniReader()) {
      EXPECT_EQ(contract::SystemReadIni(file, c.section, c.key), c.expected)
          << "the system's reader";
    }
  }
}

TEST(IniContract, LongValuesAreCutTo254Characters) {
  const std::wstring dir = contract::ScratchFolder(L"inilong");
  const std::wstring cut(254, L'v');
  for (const std::string& value : {k300, "\"" + k300 + "\""}) {
    const std::wstring file = dir + L"long" + std::to_wstring(value.size()) + L".ini";
    contract::WriteFile(file, "[main]\r\ndisk=" + value + "\r\n");
    // A quoted value too long for the buffer loses its opening quote only.
    const std::wstring& expected = cut;
    EXPECT_EQ(IniEditorModule::ReadIni(file, L"main", L"disk"), expected);
    if (contract::HasSystemIniReader()) {
      EXPECT_EQ(contract::SystemReadIni(file, L"main", L"disk"), expected);
    }
  }
}

TEST(IniContract, MissingFileReadsZero) {
  const std::wstring dir = contract::ScratchFolder(L"inimissing");
  EXPECT_EQ(IniEditorModule::ReadIni(dir + L"none.ini", L"main", L"disk"), L"0");
  if (contract::HasSystemIniReader()) {
    EXPECT_EQ(contract::SystemReadIni(dir + L"none.ini", L"main", L"disk"), L"0");
  }
}

TEST(IniContract, UnicodeFilesAreReadInTheirOwnEncoding) {
  const std::wstring dir = contract::ScratchFolder(L"iniutf");
  const std::string utf8 = "[main]\r\ndisk=\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE2\x84\x96 1\r\n";
  contract::WriteFile(dir + L"utf8.ini", utf8);
  contract::WriteFile(dir + L"utf8bom.ini", "\xEF\xBB\xBF" + utf8);
  std::string utf16 = "\xFF\xFE";
  for (wchar_t c : std::wstring(L"[main]\r\ndisk=Игры № 1\r\n")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  contract::WriteFile(dir + L"utf16.ini", utf16);
  for (const wchar_t* name : {L"utf8.ini", L"utf8bom.ini", L"utf16.ini"})
    EXPECT_EQ(IniEditorModule::ReadIni(dir + name, L"main", L"disk"), L"Игры № 1") << name;
}

}  // namespace
