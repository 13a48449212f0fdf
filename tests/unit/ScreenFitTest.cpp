// Placing the windows on screens of every size: the exact arithmetic of the
// fit and of the centring, the main window's smallest size, and a main
// window that cannot be created.
#include <gtest/gtest.h>

#include "SimDisc.h"
#include "platform/shared/WindowFit.h"

using namespace simdisc;

namespace {

// A screen of so many pixels at so many dots per inch, as a work area in twips.
platform::Area Screen(float width, float height, float dpi) {
  return {0, 0, width * 1440 / dpi, height * 1440 / dpi};
}

TEST(WindowFitTest, ScaleKeepsTheProportionsAndFitsTheTighterSide) {
  const platform::Extent client = {9300, 7200}, frame = {240, 585};
  struct Case {
    const char* screen;
    platform::Area area;
    float scale;
  } cases[] = {
      {"1600 x 1200 at 96 dpi", Screen(1600, 1200, 96), 1},
      {"exactly the window", {0, 0, 9540, 7785}, 1},
      {"1366 x 728 at 144 dpi", Screen(1366, 728, 144), (7280.0f - 585) / 7200},
      {"1600 x 1200 at 384 dpi", Screen(1600, 1200, 384), (4500.0f - 585) / 7200},
      {"narrow and tall", {0, 0, 4890, 20000}, 0.5f},
      {"smaller than a frame", {0, 0, 100, 100}, 0.1f},
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(platform::FitScale(client, frame, c.area), c.scale) << c.screen;
}

TEST(WindowFitTest, CentredThenKeptInsideTheArea) {
  struct Case {
    const char* what;
    float length, from, span, edge;
  } cases[] = {
      {"centred on the area", 400, 0, 1000, 300},
      {"centred on an owner", 200, 100, 400, 200},
      {"owner near the left edge", 600, -200, 400, 0},
      {"owner near the right edge", 600, 800, 400, 400},
      {"longer than the area", 1200, 0, 1000, 0},
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(platform::CentredEdge(c.length, c.from, c.span, 0, 1000), c.edge) << c.what;
}

class ScreenFitTest : public ProgramTest {};

// A caption too long for any window: the window cannot become narrower, but
// is never held wider than it was made.
TEST_F(ScreenFitTest, TheSmallestSizeIsNeverLargerThanTheFirst) {
  MakeDisc("[main]\r\ninstall=" + std::string(200, 'W') + "\r\n", {L"Alpha"});
  ASSERT_FALSE(RunMain());
  const float width = Window().width, height = Window().height;
  sim::Resize(fMain().form(), 160 * 15, 120 * 15);
  EXPECT_FLOAT_EQ(Window().width, width);
  EXPECT_LT(Window().height, height);
}

TEST_F(ScreenFitTest, AMainWindowThatCannotBeCreatedEndsTheProgram) {
  MakeDisc("[main]\r\n", {L"Alpha"});
  sim::TheWorld().windowsCannotBeCreated = true;
  EXPECT_TRUE(RunMain()) << "ended, not left waiting without a window";
  EXPECT_TRUE(sim::TheWorld().messages.empty());
  EXPECT_TRUE(sim::TheWorld().sounds.empty()) << "not even the start sound";
}

}  // namespace
