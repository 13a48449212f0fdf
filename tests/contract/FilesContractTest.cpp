// The file lookup and loading, folder listing, file reading and ANSI
// decoding, held to what the real system does.
#include <gtest/gtest.h>

#include <algorithm>

#include "ContractWorld.h"
#include "platform/Platform.h"
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

  struct Case {
    std::wstring pattern, found;
  };
  const Case cases[] = {
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
  for (const Case& c : cases)
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

}  // namespace
