// The benchmarks' discs, pictures, window finding and figures: a disc that
// is not what the program expects, a picture that compresses to nothing, a
// window taken for another, or a wrong median would give figures that look
// right.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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

std::vector<std::uint8_t> Picture(int width, int height, int stride, std::uint32_t seed,
                                  int strip) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height, 0xAB);
  for (int row = 0; row < height; row += strip)
    bench::FillPictureRows(width, height, row, std::min(strip, height - row), stride,
                           pixels.data() + static_cast<std::size_t>(stride) * row, seed);
  return pixels;
}

TEST(FillPictureRowsTest, SamePictureInAnyStripsPaddingLeftAlone) {
  constexpr int kWidth = 101, kHeight = 37, kStride = 304;  // 303 bytes of pixels and one spare
  const std::vector<std::uint8_t> whole = Picture(kWidth, kHeight, kStride, 5, kHeight);
  EXPECT_EQ(Picture(kWidth, kHeight, kStride, 5, 1), whole);
  EXPECT_EQ(Picture(kWidth, kHeight, kStride, 5, 16), whole);
  EXPECT_NE(Picture(kWidth, kHeight, kStride, 6, kHeight), whole);
  for (int y = 0; y < kHeight; ++y)
    EXPECT_EQ(whole[static_cast<std::size_t>(y) * kStride + 303], 0xAB);
}

TEST(FillPictureRowsTest, ColoursSpreadAndNeighboursDifferLikeAPhotograph) {
  constexpr int kWidth = 640, kHeight = 480, kStride = kWidth * 3;
  const std::vector<std::uint8_t> p = Picture(kWidth, kHeight, kStride, 1, 64);
  for (int channel = 0; channel < 3; ++channel) {
    std::uint8_t low = 255, high = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < p.size(); i += 3) {
      low = std::min(low, p[i]);
      high = std::max(high, p[i]);
    }
    EXPECT_GT(high - low, 150) << "channel " << channel;
  }
  // Fine noise: a pixel rarely equals its left neighbour, yet mostly stays
  // close to it (a smooth picture with a few edges underneath, not random
  // bytes).
  long same = 0, jumps = 0, pairs = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 1; x < kWidth; ++x, ++pairs) {
      const std::uint8_t* a = &p[static_cast<std::size_t>(y) * kStride + 3 * (x - 1)];
      const std::uint8_t* b = a + 3;
      same += a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
      jumps += std::abs(a[1] - b[1]) > 64;
    }
  }
  EXPECT_LT(same * 100, pairs);
  EXPECT_LT(jumps * 20, pairs);
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog window of this process, as the benchmarks look for Varnolt's.
HWND MakeDialog(const wchar_t* title, bool visible) {
  struct {
    DLGTEMPLATE head;
    WORD menu, windowClass, title;
  } empty = {};
  empty.head.style = WS_POPUP | WS_CAPTION | (visible ? WS_VISIBLE : 0);
  HWND window = ::CreateDialogIndirectParamW(nullptr, &empty.head, nullptr, NoDialogProc, 0);
  EXPECT_NE(window, nullptr);
  if (window) ::SetWindowTextW(window, title);
  return window;
}

TEST(FindDialogWindowTest, TitleMatchedByItsStartVisibleWindowsOfTheProcessOnly) {
  const DWORD self = ::GetCurrentProcessId();
  HWND hidden = MakeDialog(L"Varnolt - hidden", false);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Varnolt"), nullptr);
  HWND shown = MakeDialog(L"Varnolt - 1.1.3", true);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Varnolt"), shown);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Varnolt - 1.1.3"), shown);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Varnolt - 2"), nullptr);
  EXPECT_EQ(bench::FindDialogWindow(self + 4, L"Varnolt"), nullptr);
  HWND help = MakeDialog(L"Справка", true);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Справка"), help);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Varnolt"), shown);
  for (HWND window : {hidden, shown, help}) ::DestroyWindow(window);
  EXPECT_EQ(bench::FindDialogWindow(self, L"Varnolt"), nullptr);
}

}  // namespace
