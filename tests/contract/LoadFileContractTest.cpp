// Whole-file text loading over the real file system and the simulated one.
#include <gtest/gtest.h>

#include "ContractWorld.h"
#include "util/LoadFileModule.h"

namespace {

using LoadFileModule::LoadFile;

TEST(LoadFileContract, MissingUnreadableAndEmptyFiles) {
  const std::wstring dir = contract::ScratchFolder(L"loadfile");
  contract::WriteFile(dir + L"hidden.txt", "secret", {true, false, false});
  contract::WriteFile(dir + L"system.txt", "secret", {false, true, false});
  contract::MakeFolder(dir + L"folder");
  contract::WriteFile(dir + L"empty.txt", "");
  contract::WriteFile(dir + L"locked.txt", "locked");

  for (const wchar_t* name : {L"missing.txt", L"hidden.txt", L"system.txt", L"folder"}) {
    std::wstring text = L"as passed";
    EXPECT_FALSE(LoadFile(dir + name, text)) << name;
    EXPECT_EQ(text, L"as passed") << name;
  }
  contract::Lock(dir + L"locked.txt");
  std::wstring text = L"as passed";
  EXPECT_FALSE(LoadFile(dir + L"locked.txt", text))
      << "held open without sharing by another program";
  EXPECT_EQ(text, L"as passed");
  contract::Unlock(dir + L"locked.txt");
  EXPECT_TRUE(LoadFile(dir + L"locked.txt", text)) << "readable again once it is let go";
  EXPECT_EQ(text, L"locked");

  text = L"as passed";
  EXPECT_FALSE(LoadFile(dir + L"empty.txt", text));
  EXPECT_EQ(text, L"");
}

TEST(LoadFileContract, TextComesBackUnchanged) {
  const std::wstring dir = contract::ScratchFolder(L"loadtext");
  struct Case {
    const char* bytes;
    std::wstring text;
  };
  const Case cases[] = {
      {"\r\n", L"\r\n"},
      {"first\r\nsecond\r\n", L"first\r\nsecond\r\n"},
      {"  blanks kept  \r\n\r\n", L"  blanks kept  \r\n\r\n"},
      {"\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xE8\xE3\xF0\xFB", L"Описание игры"},
      {"\xD0\x9E\xD0\xBF\xD0\xB8\xD1\x81\xD0\xB0\xD0\xBD\xD0\xB8\xD0\xB5", L"Описание"},
      {"\xEF\xBB\xBF\x41", L"A"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::wstring file = dir + L"text" + std::to_wstring(n++) + L".txt";
    contract::WriteFile(file, c.bytes);
    std::wstring text;
    EXPECT_TRUE(LoadFile(file, text)) << c.bytes;
    EXPECT_EQ(text, c.text) << c.bytes;
  }
}

TEST(LoadFileContract, LargeFilesAreCutAtACharacter) {
  const std::wstring dir = contract::ScratchFolder(L"loadlarge");
  const std::size_t limit = LoadFileModule::kMaxTextBytes;
  // UTF-8 whose two-byte letters straddle the limit: the cut letter goes.
  const std::string utf8 = "a" + [] {
    std::string s;
    for (int i = 0; i < 600000; ++i) s += "\xD0\xB6";
    return s;
  }();
  contract::WriteFile(dir + L"utf8.txt", utf8);
  std::wstring text;
  ASSERT_TRUE(LoadFile(dir + L"utf8.txt", text));
  EXPECT_EQ(text.size(), 1 + (limit - 1) / 2) << "the a, then every whole letter";
  EXPECT_EQ(text.back(), L'ж');

  contract::WriteFile(dir + L"ansi.txt", std::string(limit + 10, 'x'));
  ASSERT_TRUE(LoadFile(dir + L"ansi.txt", text));
  EXPECT_EQ(text.size(), limit);

  contract::WriteFile(dir + L"exact.txt", std::string(limit, 'y'));
  ASSERT_TRUE(LoadFile(dir + L"exact.txt", text));
  EXPECT_EQ(text.size(), limit) << "up to the limit everything is shown";

  // Only a file longer than the limit is cut: one that ends right at it,
  // in the first byte of a UTF-8 letter, is ANSI and whole.
  contract::WriteFile(dir + L"ends.txt", std::string(limit - 1, 'z') + "\xD0");
  ASSERT_TRUE(LoadFile(dir + L"ends.txt", text));
  EXPECT_EQ(text.size(), limit);
  EXPECT_EQ(text.back(), L'Р');
}

TEST(LoadFileContract, FaultsInTheTextDoNotCutItShort) {
  const std::wstring dir = contract::ScratchFolder(L"loadfaults");
  struct Case {
    std::string bytes;
    std::wstring text;
  };
  const Case cases[] = {
      {"Level 1 \xDF", L"Level 1 Я"},
      {"\xEF\xBB\xBFok \xC0\xAF and on", L"ok \xFFFD\xFFFD and on"},
      {std::string("\0first\0", 7), std::wstring(L"\0first\0", 7)},
      {std::string("\xFF\xFE\x00\xDC\x41\x00", 6),
       L"\xFFFD"
       L"A"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::wstring file = dir + L"text" + std::to_wstring(n++) + L".txt";
    contract::WriteFile(file, c.bytes);
    std::wstring text;
    EXPECT_TRUE(LoadFile(file, text)) << n;
    EXPECT_EQ(text, c.text) << n;
  }
}

}  // namespace
