// Placing the windows on screens of every size: the exact arithmetic of the
// fit and of the centring.
#include <gtest/gtest.h>

#include "platform/shared/WindowFit.h"

namespace {

// Work areas in twips: 15 a pixel at 96 dots per inch, 10 at 144.
TEST(WindowFitTest, ScaleKeepsTheProportionsAndFitsTheTighterSide) {
  const platform::Extent client = {9300, 7200}, frame = {240, 585};
  struct Case {
    const char* screen;
    platform::Area area;
    float scale;
  } cases[] = {
      {"1600 x 1200 at 96 dpi", {0, 0, 24000, 18000}, 1},
      {"1366 x 728 at 144 dpi", {0, 0, 13660, 7280}, (7280.0f - 585) / 7200},
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
      {"centred on an owner", 200, 100, 400, 200},
      {"owner near the left edge", 600, -200, 400, 0},
      {"owner near the right edge", 600, 800, 400, 400},
      {"longer than the area", 1200, 0, 1000, 0},
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(platform::CentredEdge(c.length, c.from, c.span, 0, 1000), c.edge) << c.what;
}

}  // namespace
