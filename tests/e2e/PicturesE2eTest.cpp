// Screenshots as discs carry them, shown by the real program under Wine and
// read back from the screen: every format the program shows, JPEGs with
// data after their end or much metadata before their frame, and photos
// stored turned, which must be seen upright.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "Harness.h"
#include "TestPictureFiles.h"

namespace {

using namespace e2e;

// The colours seen at the middles of the picture box's four quarters: top
// left, top right, bottom left, bottom right.
std::string Quarters(HWND img) {
  RECT r;
  ::GetWindowRect(img, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::string seen;
  for (const POINT at : {POINT{w / 4, h / 4}, POINT{3 * w / 4, h / 4}, POINT{w / 4, 3 * h / 4},
                         POINT{3 * w / 4, 3 * h / 4}}) {
    if (!seen.empty()) seen += ' ';
    seen += Name(ColourOnScreen(r.left + at.x, r.top + at.y));
  }
  return seen;
}

void PressDown(HWND main, HWND list) {
  ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
  ::PostMessageW(list, WM_KEYUP, VK_DOWN, static_cast<LPARAM>(0xC0000001u));
  Settle(main);
}

// What the picture box shows once it shows `expected`, or after 5 s: the
// box is painted after the selection is handled, and on a busy machine the
// X server shows it some time later still.
std::string QuartersOnceShown(HWND img, const std::string& expected) {
  std::string seen;
  for (int i = 0; i < 250 && (seen = Quarters(img)) != expected; ++i) ::Sleep(20);
  return seen;
}

std::string Solid(const char* colour) {
  std::string all = colour;
  for (int i = 0; i < 3; ++i) all += std::string(" ") + colour;
  return all;
}

TEST(Pictures, EveryScreenshotShowsUpright) {
  const std::string& quarters = testpictures::kQuartersJpeg;
  // Stored, the quarters are red, lime over blue, yellow.
  const std::string stored = "red lime blue yellow";
  struct Game {
    const wchar_t* name;
    std::string picture;
    std::string seen;
  };
  const Game games[] = {
      {L"P01 grey JPEG", testpictures::kGrayJpeg, Solid("grey")},
      {L"P02 palette PNG", testpictures::kPalettePng, Solid("red")},
      {L"P03 GIF", testpictures::kGif, Solid("blue")},
      {L"P04 16-bit PNG", testpictures::kDeepPng, Solid("red")},
      {L"P05 1 KB after the end", quarters + std::string(1024, '\x5A'), stored},
      {L"P06 300 KB of metadata", testpictures::WithMetadata(quarters, 300 * 1024), stored},
      {L"P07 progressive", testpictures::kProgressiveJpeg, stored},
      {L"P08 orientation 1", testpictures::WithOrientation(quarters, 1), stored},
      {L"P09 orientation 2", testpictures::WithOrientation(quarters, 2, true),
       "lime red yellow blue"},
      {L"P10 orientation 3", testpictures::WithOrientation(quarters, 3), "yellow blue lime red"},
      {L"P11 orientation 4", testpictures::WithOrientation(quarters, 4, true),
       "blue yellow red lime"},
      {L"P12 orientation 5", testpictures::WithOrientation(quarters, 5), "red blue lime yellow"},
      {L"P13 orientation 6", testpictures::WithOrientation(quarters, 6, true),
       "blue red yellow lime"},
      {L"P14 orientation 7", testpictures::WithOrientation(quarters, 7), "yellow lime blue red"},
      {L"P15 orientation 8", testpictures::WithOrientation(quarters, 8, true),
       "lime yellow red blue"},
      {L"P16 cut off", quarters.substr(0, quarters.size() - 40), Solid("background")},
  };
  std::vector<std::wstring> names;
  for (const Game& g : games) names.push_back(g.name);
  Disc disc(L"pictures", "[main]\r\ndisk=Disc\r\nScreenReader=0\r\n", names);
  for (const Game& g : games)
    disc.AddFile(std::wstring(L"games\\") + g.name + L"\\screenshot.jpg", g.picture);
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls controls = FindMainControls(main);
  const HWND list = controls.lsGame, img = controls.img;
  ASSERT_TRUE(list && img);

  PressDown(main, list);  // the disc, which has no picture
  EXPECT_EQ(QuartersOnceShown(img, Solid("background")), Solid("background"));
  for (const Game& g : games) {
    PressDown(main, list);
    EXPECT_EQ(QuartersOnceShown(img, g.seen), g.seen) << ToUtf8(g.name);
  }
}

}  // namespace
