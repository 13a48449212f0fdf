// Where the windows and their controls lie: fitting a window to the screen,
// the controls as laid out in both windows, and the main window's controls
// following its size.
#include <gtest/gtest.h>

#include "SimDisc.h"
#include "helpwindow/HelpWindow.h"
#include "platform/shared/WindowFit.h"

using namespace simdisc;

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

class LayoutTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeDisc("[main]\r\nHelpButton=2\r\n", {L"Game"});
    ASSERT_FALSE(RunMain());
  }
};

struct Rect {
  float left, top, width, height;
};

Rect RectOf(const sim::ControlState& c) { return {c.left, c.top, c.width, c.height}; }

void ExpectRect(const sim::ControlState& c, const Rect& r, const std::string& what) {
  EXPECT_FLOAT_EQ(c.left, r.left) << what;
  EXPECT_FLOAT_EQ(c.top, r.top) << what;
  EXPECT_FLOAT_EQ(c.width, r.width) << what;
  EXPECT_FLOAT_EQ(c.height, r.height) << what;
}

// Both windows as they open on a screen that holds them, in twips: the
// picture top left, the list and its heading right of it, the three buttons
// in a row 300 apart below them, the description across the bottom.
TEST_F(LayoutTest, EveryControlWhereItWasLaidOut) {
  const sim::FormState& help = sim::StateOf(fHelp().form());
  const struct {
    const sim::FormState& window;
    int control;
    Rect at;
  } cases[] = {
      {Window(), MainLayout::btReadMe, {6300, 4650, 2700, 375}},
      {Window(), MainLayout::drGame, {0, 1365, 1215, 315}},
      {Window(), MainLayout::btClose, {3300, 4650, 2700, 375}},
      {Window(), MainLayout::btInstall, {300, 4650, 2700, 375}},
      {Window(), MainLayout::edDescript, {150, 5400, 9000, 1500}},
      {Window(), MainLayout::lsGame, {6225, 300, 3000, 4320}},
      {Window(), MainLayout::img, {75, 0, 6000, 4500}},
      {Window(), MainLayout::lbDescript, {150, 5100, 9000, 300}},
      {Window(), MainLayout::lbGame, {6225, 0, 3000, 300}},
      {help, HelpLayout::btHelp, {150, 2700, 1125, 375}},
      {help, HelpLayout::edHelp, {75, 75, 4500, 2550}},
      {help, HelpLayout::imHelp, {1425, 2700, 3300, 375}},
  };
  for (const auto& c : cases)
    ExpectRect(c.window.controls.at(c.control), c.at, "control " + std::to_string(&c - cases));
  EXPECT_FLOAT_EQ(Window().width, 9300 + sim::kFrameWidth);
  EXPECT_FLOAT_EQ(Window().height, 7200 + sim::kFrameHeight);
  EXPECT_FLOAT_EQ(help.width, 4650 + sim::kFrameWidth);
  EXPECT_FLOAT_EQ(help.height, 3150 + sim::kFrameHeight);
}

// Across by the window's width, down by its height, each control from the
// one record: back at its first size, every control is where it was, however
// often it was resized. The hidden drGame never moves.
TEST_F(LayoutTest, ControlsFollowTheWindowAndComeBackWithoutDrift) {
  const float width = Window().width, height = Window().height;
  std::vector<Rect> first;
  for (const sim::ControlState& c : Window().controls) first.push_back(RectOf(c));
  sim::Resize(fMain().form(), 2 * width, height);
  for (int i = 0; i < MainLayout::kControlCount; ++i) {
    const Rect r = first[i];
    ExpectRect(Control(i),
               i == MainLayout::drGame ? r : Rect{2 * r.left, r.top, 2 * r.width, r.height},
               "twice as wide, control " + std::to_string(i));
  }
  sim::Resize(fMain().form(), width, 2 * height);
  EXPECT_FLOAT_EQ(Control(MainLayout::edDescript).top, 2 * first[MainLayout::edDescript].top);
  EXPECT_FLOAT_EQ(Control(MainLayout::edDescript).left, first[MainLayout::edDescript].left);
  EXPECT_FLOAT_EQ(Control(MainLayout::lsGame).height, 2 * first[MainLayout::lsGame].height);
  for (const float ratio : {0.83f, 1.37f, 0.91f, 1.13f, 0.77f}) {
    sim::Resize(fMain().form(), ratio * width, (2 - ratio) * height);
    ExpectRect(Control(MainLayout::drGame), first[MainLayout::drGame], "drGame");
  }
  sim::Resize(fMain().form(), width, height);
  for (int i = 0; i < MainLayout::kControlCount; ++i)
    ExpectRect(Control(i), first[i], "back at the first size, control " + std::to_string(i));
}

}  // namespace
