// Screenshots shown by the real program under Wine and read back from the
// screen: formats the decoder converts, a photo stored turned (seen
// upright) and a JPEG cut short (nothing shown).
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "Harness.h"
#include "TestPictureFiles.h"

namespace {

using namespace e2e;

// The colours at the middles of the picture box's quarters (top left, top
// right, bottom left, bottom right) once they are `expected`, or after 5 s:
// on a busy machine the X server shows the painted box some time later.
std::string QuartersOnceShown(HWND img, const std::string& expected) {
  RECT r;
  ::GetWindowRect(img, &r);
  std::string seen;
  for (int i = 0; i < 250 && seen != expected; ++i) {
    if (i > 0) ::Sleep(20);
    seen.clear();
    for (int q = 0; q < 4; ++q) {
      const int x = r.left + (1 + 2 * (q % 2)) * (r.right - r.left) / 4;
      const int y = r.top + (1 + 2 * (q / 2)) * (r.bottom - r.top) / 4;
      seen += ColourOnScreen(x, y) + (q < 3 ? " " : "");
    }
  }
  return seen;
}

TEST(Pictures, ShownInTheirColoursAndUpright) {
  const std::string& quarters = testpictures::kQuartersJpeg;
  struct Game {
    const wchar_t* name;
    std::string picture;
    std::string seen;
  };
  const Game games[] = {
      {L"P1 grey JPEG", testpictures::kGrayJpeg, "grey grey grey grey"},
      {L"P2 palette PNG", testpictures::kPalettePng, "red red red red"},
      {L"P3 GIF", testpictures::kGif, "blue blue blue blue"},
      {L"P4 16-bit PNG", testpictures::kDeepPng, "red red red red"},
      {L"P5 progressive", testpictures::kProgressiveJpeg, "red lime blue yellow"},
      // Stored red, lime over blue, yellow; turned a quarter clockwise to be seen.
      {L"P6 turned", testpictures::WithOrientation(quarters, 6, true), "blue red yellow lime"},
      {L"P7 cut off", quarters.substr(0, quarters.size() - 40),
       "background background background background"},
  };
  Disc disc(L"pictures", "[main]\r\ndisk=Disc\r\nScreenReader=0\r\n", {});
  for (const Game& g : games) {
    disc.AddFolder(std::wstring(L"games\\") + g.name);
    disc.AddFile(std::wstring(L"games\\") + g.name + L"\\screenshot.jpg", g.picture);
  }
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const HWND img = FindMainControls(main).img;
  TypeKey(main, VK_DOWN);  // the disc
  for (const Game& g : games) {
    TypeKey(main, VK_DOWN);
    EXPECT_EQ(QuartersOnceShown(img, g.seen), g.seen) << ToUtf8(g.name);
  }
}

}  // namespace
