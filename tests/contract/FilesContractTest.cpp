// What the program reads of a disc, held to what the real system does: the
// file lookup and loading, folder listing, the order of game folders, file
// reading, ANSI decoding and the control file reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ContractWorld.h"
#include "platform/Platform.h"
#include "startup/IniEditorModule.h"
#include "util/LoadFileModule.h"

namespace {

TEST(FileLookupContract, OnlyOrdinaryFilesAreFoundAndLoaded) {
  const std::wstring dir = contract::ScratchFolder(L"lookup");
  contract::MakeFolder(dir + L"sub");
  contract::WriteFile(dir + L"hidden.wav", "x", {.hidden = true});
  contract::WriteFile(dir + L"system.wav", "x", {.system = true});
  contract::WriteFile(dir + L"readonly.wav", "x", {.readOnly = true});
  contract::WriteFile(dir + L"plain.txt", "x");
  contract::WriteFile(dir + L"empty.txt", "");

  const struct {
    std::wstring pattern, found;
  } cases[] = {
      {dir + L"READONLY.WAV", L"readonly.wav"},  // letter case ignored, the stored name returned
      {dir + L"hidden.wav", L""},
      {dir + L"system.wav", L""},
      {dir + L"missing.wav", L""},
      {dir + L"sub", L""},    // a folder named without a backslash is not a file
      {dir + L"sub\\", L""},  // an empty folder has no entries
      {dir + L"p?ain.*", L"plain.txt"},
      {dir + L"nothere\\x.wav", L""},
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::FindOrdinaryFile(c.pattern), c.found) << c.pattern;

  const std::wstring found = platform::FindOrdinaryFile(dir);
  EXPECT_TRUE(found == L"readonly.wav" || found == L"plain.txt" || found == L"empty.txt")
      << "a folder's backslash stands for its entries";

  // Only an ordinary file with something in it is loaded.
  std::wstring text;
  for (const wchar_t* name : {L"hidden.wav", L"system.wav", L"missing.wav", L"sub", L"empty.txt"})
    EXPECT_FALSE(LoadFileModule::LoadFile(dir + name, text)) << name;
  EXPECT_TRUE(LoadFileModule::LoadFile(dir + L"readonly.wav", text));
  EXPECT_EQ(text, L"x");
  contract::WriteFile(dir + L"break.txt", "\r\n");  // a line break alone is a text
  EXPECT_TRUE(LoadFileModule::LoadFile(dir + L"break.txt", text));
  EXPECT_EQ(text, L"\r\n");
}

// A name that is no 8.3 name has a short one as well, whose extension is
// the first three letters of its own: a pattern matches either name.
TEST(FileLookupContract, APatternMatchesTheShortNamesToo) {
  const std::wstring dir = contract::ScratchFolder(L"shortnames");
  for (const wchar_t* name : {L"game.exe", L"setup.exe1", L"data.exe_", L"long name.exe",
                              L"notes.exe.txt", L"readme.txt", L"setup.ex"})
    contract::WriteFile(dir + name, "MZ");
  std::vector<std::wstring> found = platform::ListOrdinaryFiles(dir + L"*.exe");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::wstring>{L"data.exe_", L"game.exe", L"long name.exe",
                                              L"setup.exe1"}));
}

TEST(FolderListContract, SubfoldersWithoutHiddenAndSystemOnes) {
  const std::wstring dir = contract::ScratchFolder(L"folders");
  contract::MakeFolder(dir + L"Game 1");
  contract::MakeFolder(dir + L"Игра");
  contract::MakeFolder(dir + L"Hidden", {.hidden = true});
  contract::MakeFolder(dir + L"System", {.system = true});
  contract::WriteFile(dir + L"setup.exe", "MZ");

  for (const std::wstring& path : {dir, dir.substr(0, dir.size() - 1)}) {
    std::vector<std::wstring> names;
    ASSERT_TRUE(platform::ListSubfolders(path, names)) << path;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Game 1", L"Игра"}));
  }
  std::vector<std::wstring> none = {L"stale"};
  EXPECT_FALSE(platform::ListSubfolders(dir + L"missing\\", none));
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(platform::ListSubfolders(dir + L"setup.exe", none)) << "a file is not a folder";
}

TEST(ReadFileContract, WholeOrHeadMissingAndLocked) {
  const std::wstring dir = contract::ScratchFolder(L"read");
  contract::WriteFile(dir + L"text.txt", "line\r\n\x1A tail");
  contract::MakeFolder(dir + L"folder");
  std::string bytes;
  EXPECT_EQ(platform::ReadFileHead(dir + L"text.txt", 1000, bytes), platform::ReadStatus::Ok);
  EXPECT_EQ(bytes, "line\r\n\x1A tail");
  EXPECT_EQ(platform::ReadFileHead(dir + L"text.txt", 4, bytes), platform::ReadStatus::Ok);
  EXPECT_EQ(bytes, "line");
  bytes = "untouched";
  EXPECT_EQ(platform::ReadFileHead(dir + L"missing.txt", 10, bytes),
            platform::ReadStatus::NotFound);
  EXPECT_EQ(platform::ReadFileHead(dir + L"folder", 10, bytes), platform::ReadStatus::Failed);
  contract::Lock(dir + L"text.txt");
  EXPECT_EQ(platform::ReadFileHead(dir + L"text.txt", 10, bytes), platform::ReadStatus::Failed);
  contract::Unlock(dir + L"text.txt");
  EXPECT_EQ(bytes, "untouched");
}

// Code page 1251 where a table of it is easily got wrong: the bytes it
// leaves unassigned, and the letters and signs out of their blocks.
TEST(AnsiContract, CodePage1251) {
  // 0x98 is unassigned: passed through.
  EXPECT_EQ(platform::AnsiToWide("A\x80\x88\x98\xA5\xA8\xB9\xC0\xFF"), L"AЂ€\u0098ҐЁ№Ая");
}

// The order of game folders is the system's own comparison's (the one
// Explorer uses). Where Wine's comparison differs from Windows' a row says
// so and gives Wine's answer: the simulation follows Windows.
struct OrderCase {
  const wchar_t* a;
  const wchar_t* b;
  int windows;                      // the sign of the comparison on Windows
  int wine = 0;                     // Wine's, where it differs
  const char* wineQuirk = nullptr;  // why it differs; none where it does not
};

// Windows' rows follow its documented rules: the word sort puts punctuation
// and symbols before digits and letters, and digits count as numbers. One
// row a rule.
const OrderCase kOrderCases[] = {
    {L"[Demo]", L"_Test", -1},
    {L"~Old", L"+Plus", -1},  // not by code: + sorts with the signs
    {L"+Plus", L"Alpha", -1},
    {L"Doom 2", L"Doom2", -1, 1, "Wine puts a digit before every other character"},
    {L"Game 2", L"Game A", -1},
    // Digits as numbers, of any length; a number's leading zeros do not
    // count (Wine; Windows does not document the tie).
    {L"Game 9", L"Game 10", -1},
    {L"Game 10", L"Game 10a", -1},
    {L"Pack 99999999999", L"Pack 100000000000", -1},
    {L"Pack 2147483648", L"Pack 2147483647", 1, -1, "Wine's numbers wrap at 32 bits"},
    {L"Game 02", L"Game 2", 0},
    {L"x0", L"x", 1},
    // Letter case is ignored, in Latin, Cyrillic and accented letters.
    {L"ALPHA", L"beta", -1},
    {L"ИГРА", L"игра", 0},
    {L"ÉCLAIR", L"éclair", 0},
    {L"ЁЛКА", L"ёлка", 0},
    // Ё is a letter of its own after Е; an accented letter follows its
    // plain one and comes before the next letter; Latin before Cyrillic.
    {L"Ежевика", L"Ёж", -1},
    {L"Ёлка", L"Жук", -1},
    {L"Über", L"Uber", 1},
    {L"Dz", L"Éclair", -1},
    {L"Zeta", L"Арканоид", -1},
};

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(FolderOrderContract, PairsCompareAsOnWindows) {
  const bool wine = contract::UnderWine();
  for (const OrderCase& c : kOrderCases) {
    const bool quirk = wine && c.wineQuirk != nullptr;
    const int expected = quirk ? c.wine : c.windows;
    // std::wstring in the message: gtest prints it readably.
    SCOPED_TRACE(std::wstring(c.a) + L" vs " + c.b + (quirk ? L", a known Wine quirk" : L""));
    // The other way round is the fuzz target's, for any names.
    EXPECT_EQ(Sign(platform::CompareFolderNames(c.a, c.b)), expected);
  }
}

// The control file reader returns what the system's profile reader returns
// for the same files: letter case of names, blanks, quotes, comments,
// duplicates, missing parts, long values, encodings.
// UTF-16 with its byte-order mark, little-endian as the machines are.
const std::u16string kUtf16 = u"\uFEFF[main]\r\ndisk=Игры № 1\r\n";

struct IniCase {
  std::string file;
  std::wstring expected;
  const wchar_t* section = L"main";
  const wchar_t* key = L"disk";
};

const IniCase kIniCases[] = {
    {"[MAIN]\r\nDISK=Games\r\n", L"Games", L"main", L"Disk"},
    {"  [main]  \r\n  disk\t=   two words\t\r\n", L"two words"},
    {"[main]\r\ndisk=\"Quoted \"\r\n", L"Quoted "},
    {"[main]\r\ndisk='single'\r\n", L"single"},
    {"[main]\r\ndisk=\"open\r\n", L"\"open"},
    {"[main]\r\ndisk=a \"b\" c\r\n", L"a \"b\" c"},
    {"[main]\r\n;disk=comment\r\ndisk=real\r\n", L"real"},
    {"[main]\r\ndisk=value ; not a comment\r\n", L"value ; not a comment"},
    {"[main]\r\ndisk=first\r\ndisk=second\r\n", L"first"},
    {"[main]\r\ndisk=\r\n", L""},
    {"[main]\r\ndisk\r\n", L"0"},
    {"[other]\r\ndisk=elsewhere\r\n", L"0"},
    {"disk=before any section\r\n[main]\r\n", L"0"},
    // Only the first of two sections of one name counts: a key only in the
    // second is not found.
    {"[main]\r\ndisk=first\r\n[main]\r\ndisk=second\r\n", L"first"},
    {"[main]\r\nlist=x\r\n[MAIN]\r\ndisk=second\r\n", L"0"},
    {"[ main ]\r\ndisk=a=b\r\n", L"a=b"},
    {"[main]\ndisk=unix\n", L"unix"},
    {"[main]\rdisk=old mac\r", L"old mac"},
    {"[main]x\r\ndisk=after bracket\r\n", L"after bracket"},
    {"[ma]in]\r\ndisk=to the last bracket\r\n", L"to the last bracket", L"ma]in"},
    {"[\xEC\xE5\xED\xFE]\r\n\xEA\xEB\xFE\xF7=\xC8\xE3\xF0\xFB \xB9 1\r\n", L"Игры № 1", L"меню",
     L"ключ"},
    {"[main]\r\ndisk=\x1A\r\n", L""},
    {"[main]\r\ndisk=Disc \xD0", L"Disc Р"},
    {"[main]\r\ndisk=" + std::string(300, 'v'), std::wstring(254, L'v')},
    // A quoted value too long for the buffer loses its opening quote only.
    {"[main]\r\ndisk=\"" + std::string(300, 'v') + "\"", std::wstring(254, L'v')},
    // One that just fills it (its closing quote the buffer's last character)
    // loses its last character as well.
    {"[main]\r\ndisk=\"" + std::string(254, 'v') + "\"", std::wstring(253, L'v')},
    {"\xEF\xBB\xBF[main]\r\ndisk=\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE2\x84\x96 1\r\n", L"Игры № 1"},
    {std::string(reinterpret_cast<const char*>(kUtf16.data()), kUtf16.size() * 2), L"Игры № 1"},
};

TEST(IniContract, ReaderAgreesWithTheSystem) {
  const std::wstring dir = contract::ScratchFolder(L"ini");
  int n = 0;
  for (const IniCase& c : kIniCases) {
    const std::wstring file = dir + L"case" + std::to_wstring(n++) + L".ini";
    contract::WriteFile(file, c.file);
    SCOPED_TRACE(c.file.substr(0, 60));
    EXPECT_EQ(IniEditorModule::ReadIni(file, c.section, c.key), c.expected);
    // (The simulation has no reader of its own to ask.)
    EXPECT_EQ(contract::SystemReadIni(file, c.section, c.key).value_or(c.expected), c.expected)
        << "the system's reader";
  }
  const std::wstring missing = dir + L"none.ini";
  EXPECT_EQ(IniEditorModule::ReadIni(missing, L"main", L"disk"), L"0");
  EXPECT_EQ(contract::SystemReadIni(missing, L"main", L"disk").value_or(L"0"), L"0");
}

}  // namespace
