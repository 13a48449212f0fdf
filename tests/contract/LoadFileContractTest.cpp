// Whole-file text loading over the real file system and the simulated one.
#include <gtest/gtest.h>

#include "ContractWorld.h"
#include "util/LoadFileModule.h"

namespace {

using LoadFileModule::LoadFile;

TEST(LoadFileContract, MissingUnreadableAndEmptyFiles) {
  const std::wstring dir = contract::ScratchFolder(L"loadfile");
  contract::WriteFile(dir + L"hidden.txt", "secret", {.hidden = true});
  contract::WriteFile(dir + L"system.txt", "secret", {.system = true});
  contract::MakeFolder(dir + L"folder");
  contract::WriteFile(dir + L"empty.txt", "");
  contract::WriteFile(dir + L"locked.txt", "locked");
  contract::Lock(dir + L"locked.txt");

  for (const wchar_t* name :
       {L"missing.txt", L"hidden.txt", L"system.txt", L"folder", L"locked.txt"}) {
    std::wstring text = L"as passed";
    EXPECT_FALSE(LoadFile(dir + name, text)) << name;
    EXPECT_EQ(text, L"as passed") << name;
  }
  contract::Unlock(dir + L"locked.txt");
  std::wstring text;
  EXPECT_TRUE(LoadFile(dir + L"locked.txt", text)) << "readable again once it is let go";
  EXPECT_EQ(text, L"locked");
  EXPECT_FALSE(LoadFile(dir + L"empty.txt", text));
  EXPECT_EQ(text, L"");
}

// A file longer than the limit is cut at a whole character; one that ends
// right at it, in the first byte of a UTF-8 letter, is ANSI and whole.
TEST(LoadFileContract, LargeFilesAreCutAtACharacter) {
  const std::wstring dir = contract::ScratchFolder(L"loadlarge");
  const std::size_t limit = LoadFileModule::kMaxTextBytes;
  std::string utf8 = "a";
  for (int i = 0; i < 600000; ++i) utf8 += "\xD0\xB6";
  contract::WriteFile(dir + L"utf8.txt", utf8);
  std::wstring text;
  ASSERT_TRUE(LoadFile(dir + L"utf8.txt", text));
  EXPECT_EQ(text, L"a" + std::wstring((limit - 1) / 2, L'ж'));

  contract::WriteFile(dir + L"ends.txt", std::string(limit - 1, 'z') + "\xD0");
  ASSERT_TRUE(LoadFile(dir + L"ends.txt", text));
  EXPECT_EQ(text, std::wstring(limit - 1, L'z') + L"Р");
}

}  // namespace
