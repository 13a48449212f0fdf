// The start-up benchmark's discs and figures: a disc that is not what the
// program expects, or a wrong median, would give figures that look right.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "gtest/gtest.h"

namespace {

std::vector<std::wstring> Entries(const std::wstring& folder, bool folders) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) names.push_back(name);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

std::string Bytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = bench::MakeScratchFolder(L"bench-disc-test-");
    ASSERT_FALSE(scratch_.empty());
  }
  void TearDown() override {
    if (!scratch_.empty()) bench::RemoveTree(scratch_);
  }
  std::wstring scratch_;
};

TEST(SummariseTest, MedianOfOddAndEvenSeriesAndTheSmallest) {
  const bench::Summary odd = bench::Summarise({30, 10, 20, 50, 40});
  EXPECT_DOUBLE_EQ(odd.median, 30);
  EXPECT_DOUBLE_EQ(odd.min, 10);
  const bench::Summary even = bench::Summarise({4, 1, 3, 2});
  EXPECT_DOUBLE_EQ(even.median, 2.5);
  EXPECT_DOUBLE_EQ(even.min, 1);
  const bench::Summary none = bench::Summarise({});
  EXPECT_DOUBLE_EQ(none.median, 0);
  EXPECT_DOUBLE_EQ(none.min, 0);
}

TEST(GameNamesTest, ExactlyAsManyDistinctNamesWithCyrillicFromTenOn) {
  for (int count : {1, 9, 10, 1000}) {
    const std::vector<std::wstring> names = bench::GameNames(count);
    ASSERT_EQ(static_cast<int>(names.size()), count);
    EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(names.front(), L"Game 1");
    bool cyrillic = false;
    for (const std::wstring& name : names)
      for (wchar_t c : name) cyrillic = cyrillic || (c >= 0x400 && c <= 0x4FF);
    EXPECT_EQ(cyrillic, count >= 10) << count;
  }
  EXPECT_TRUE(bench::GameNames(0).empty());
}

TEST_F(ScratchTest, DiscHasTheControlFileTheSoundsAndOneFolderPerGame) {
  const std::wstring root = scratch_ + L"\\disc";
  std::wstring error;
  ASSERT_TRUE(bench::MakeDisc(root, 25, error)) << std::string(error.begin(), error.end());

  std::vector<std::wstring> games = Entries(root + L"\\games", true);
  std::vector<std::wstring> expected = bench::GameNames(25);
  EXPECT_EQ(std::set<std::wstring>(games.begin(), games.end()),
            std::set<std::wstring>(expected.begin(), expected.end()));
  EXPECT_TRUE(Entries(root + L"\\games", false).empty());

  const std::string ini = Bytes(root + L"\\autorun.ini");
  EXPECT_EQ(ini.compare(0, 3, "\xEF\xBB\xBF"), 0);
  for (const char* line :
       {"[main]\r\n", "\r\ndisk=", "\r\nlist=", "\r\ndescription=", "\r\ninstall=", "\r\nclose=",
        "\r\nreadme=", "\r\nScreenReader=0\r\n", "\r\nhelp=", "\r\nHelpButton="})
    EXPECT_NE(ini.find(line), std::string::npos) << line;

  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"}) {
    const std::string wave = Bytes(root + L"\\autorun\\" + sound + L".wav");
    ASSERT_GT(wave.size(), 44u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32(wave, 4), wave.size() - 8);
    EXPECT_EQ(wave.substr(36, 4), "data");
    EXPECT_EQ(Le32(wave, 40), wave.size() - 44);
  }
}

TEST_F(ScratchTest, DiscIsNeverMadeOverAnExistingFolder) {
  std::wstring error;
  ASSERT_TRUE(bench::MakeDisc(scratch_ + L"\\disc", 1, error));
  EXPECT_FALSE(bench::MakeDisc(scratch_ + L"\\disc", 1, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(ScratchTest, RemoveTreeTakesEverythingReadOnlyFilesToo) {
  const std::wstring root = scratch_ + L"\\tree";
  std::wstring error;
  ASSERT_TRUE(bench::MakeDisc(root, 12, error));
  const std::wstring locked = root + L"\\games\\Game 1\\locked.txt";
  std::ofstream(locked.c_str()) << "x";
  ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_TRUE(bench::RemoveTree(root));
  EXPECT_FALSE(Exists(root));
  EXPECT_TRUE(Exists(scratch_));
  EXPECT_TRUE(bench::RemoveTree(root));  // already gone
}

TEST_F(ScratchTest, ScratchFoldersAreNewAndDistinct) {
  const std::wstring other = bench::MakeScratchFolder(L"bench-disc-test-");
  ASSERT_FALSE(other.empty());
  EXPECT_NE(other, scratch_);
  EXPECT_TRUE(Entries(other, true).empty() && Entries(other, false).empty());
  EXPECT_TRUE(bench::RemoveTree(other));
}

}  // namespace
