// The file lookup, folder listing, file reading and ANSI decoding, held to
// what the real system does.
#include <gtest/gtest.h>

#include <algorithm>

#include "ContractWorld.h"
#include "platform/Platform.h"

namespace {

using contract::FileAttributes;

TEST(FileLookupContract, OnlyOrdinaryFilesMatch) {
  const std::wstring dir = contract::ScratchFolder(L"lookup");
  contract::MakeFolder(dir + L"sub");
  contract::WriteFile(dir + L"hidden.wav", "x", {true, false, false});
  contract::WriteFile(dir + L"system.wav", "x", {false, true, false});
  contract::WriteFile(dir + L"readonly.wav", "x", {false, false, true});
  contract::WriteFile(dir + L"plain.txt", "x");

  struct Case {
    std::wstring pattern, found;
  };
  const Case cases[] = {
      {dir + L"readonly.wav", L"readonly.wav"},
      {dir + L"READONLY.WAV", L"readonly.wav"},  // letter case ignored, the stored name returned
      {dir + L"hidden.wav", L""},
      {dir + L"system.wav", L""},
      {dir + L"missing.wav", L""},
      {dir + L"sub", L""},    // a folder named without a backslash is not a file
      {dir + L"sub\\", L""},  // an empty folder has no entries
      {dir + L"*.txt", L"plain.txt"},
      {dir + L"p?ain.*", L"plain.txt"},
      {dir + L"nothere\\", L""},
      {dir + L"nothere\\x.wav", L""},
      {L"", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::FindOrdinaryFile(c.pattern), c.found) << c.pattern;

  const std::wstring found = platform::FindOrdinaryFile(dir);
  EXPECT_TRUE(found == L"readonly.wav" || found == L"plain.txt")
      << "a folder's backslash stands for its entries";
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
  const std::vector<std::wstring> expected = {L"data.exe_", L"game.exe", L"long name.exe",
                                              L"setup.exe1"};
  EXPECT_EQ(found, expected);
}

TEST(FolderListContract, SubfoldersWithoutHiddenAndSystemOnes) {
  const std::wstring dir = contract::ScratchFolder(L"folders");
  contract::MakeFolder(dir + L"Game 1");
  contract::MakeFolder(dir + L"Игра");
  contract::MakeFolder(dir + L"Hidden", {true, false, false});
  contract::MakeFolder(dir + L"System", {false, true, false});
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
  std::string bytes = "untouched";
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

TEST(AnsiContract, CodePage1251) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::wstring text = platform::AnsiToWide(all);
  ASSERT_EQ(text.size(), 255u);
  EXPECT_EQ(text[0x41 - 1], L'A');
  EXPECT_EQ(text[0xC0 - 1], L'А');
  EXPECT_EQ(text[0xFF - 1], L'я');
  EXPECT_EQ(text[0xA8 - 1], L'Ё');
  EXPECT_EQ(text[0xB9 - 1], L'№');
  EXPECT_EQ(text[0x88 - 1], L'€');
  // Every byte above 0x7F, as one table: the simulation and the system agree.
  const wchar_t kHigh[128] = {
      0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
      0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
      0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
      0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
      0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411,
      0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
      0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
      0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432,
      0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D,
      0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448,
      0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
  };
  for (int b = 0x80; b < 0x100; ++b)
    EXPECT_EQ(static_cast<unsigned>(text[static_cast<std::size_t>(b - 1)]),
              static_cast<unsigned>(kHigh[b - 0x80]))
        << "byte " << b;
}

}  // namespace
