// The windows on screens of every size, over the simulated world: the first
// size fitted to the work area, the help window over its owner, the main
// window's minimum size, and a main window that cannot be created.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "helpwindow/HelpWindow.h"
#include "platform/Keys.h"
#include "platform/shared/WindowFit.h"

using namespace simdisc;

namespace {

using platform::kKeyEscape;
using platform::kKeyF1;
constexpr float kPixel = 15;  // twips of one pixel at 96 dots per inch

// A screen of so many pixels at so many dots per inch, as a work area in twips.
platform::Area Screen(float width, float height, float dpi, float left = 0, float top = 0) {
  const float twips = 1440 / dpi;
  return {left * twips, top * twips, width * twips, height * twips};
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

class ScreenFitTest : public ProgramTest {
 protected:
  void Start(const std::string& install = "Install") {
    MakeDisc("[main]\r\ndisk=Disc\r\nlist=Games\r\ndescription=About\r\ninstall=" + install +
                 "\r\nclose=Close\r\nreadme=Read me\r\nhelp=About the disc\r\nHelpButton=2\r\n",
             {L"Alpha", L"Beta"});
    sim::AddFile(kRoot + L"\\read.me.txt", "Read me\r\n");
    ASSERT_FALSE(RunMain());
  }
  static float ClientWidth(const sim::FormState& f) { return f.width - sim::kFrameWidth; }
  static float ClientHeight(const sim::FormState& f) { return f.height - sim::kFrameHeight; }

  // Every visible control lies inside the client area.
  static void ExpectControlsInside(const sim::FormState& f) {
    for (std::size_t i = 0; i < f.controls.size(); ++i) {
      const sim::ControlState& c = f.controls[i];
      if (!c.visible) continue;
      EXPECT_GE(c.left, 0) << i;
      EXPECT_GE(c.top, 0) << i;
      EXPECT_LE(c.left + c.width, ClientWidth(f)) << i;
      EXPECT_LE(c.top + c.height, ClientHeight(f)) << i;
    }
  }
  static void ExpectInside(const sim::FormState& f, const platform::Area& a) {
    EXPECT_GE(f.left, a.left);
    EXPECT_GE(f.top, a.top);
    EXPECT_LE(f.left + f.width, a.left + a.width);
    EXPECT_LE(f.top + f.height, a.top + a.height);
  }
};

TEST_F(ScreenFitTest, TheMainWindowFitsTheWorkAreaInItsOwnProportionsCentred) {
  struct Case {
    const char* screen;
    platform::Area area;
    bool scaled;
  } cases[] = {
      {"1600 x 1200 at 96 dpi", Screen(1600, 1200, 96), false},
      {"1600 x 1200 at 192 dpi", Screen(1600, 1200, 192), false},
      {"1366 x 728 at 144 dpi", Screen(1366, 728, 144), true},
      {"1600 x 1200 at 384 dpi", Screen(1600, 1200, 384), true},
      {"1024 x 600 at 120 dpi, a second screen", Screen(1024, 600, 120, -1024, 40), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    sim::ResetWorld();
    MainModule::ResetGlobals();
    sim::TheWorld().workArea = c.area;
    Start();
    const sim::FormState& w = Window();
    ExpectInside(w, c.area);
    EXPECT_EQ(ClientWidth(w) < 9300, c.scaled);
    EXPECT_NEAR(ClientWidth(w) * 7200 / 9300, ClientHeight(w), kPixel)
        << "the laid-out proportions";
    EXPECT_NEAR(w.left + w.width / 2, c.area.left + c.area.width / 2, kPixel);
    EXPECT_NEAR(w.top + w.height / 2, c.area.top + c.area.height / 2, kPixel);
    ExpectControlsInside(w);
    // The controls are made smaller with the window.
    const float scale = ClientWidth(w) / 9300;
    EXPECT_NEAR(w.controls[MainLayout::lsGame].width, 3000 * scale, kPixel);
    EXPECT_NEAR(w.controls[MainLayout::edDescript].top, 5400 * scale, kPixel);
  }
}

TEST_F(ScreenFitTest, TheHelpWindowIsCentredOnItsOwnerInsideTheWorkArea) {
  const platform::Area area = Screen(1366, 728, 144);
  sim::TheWorld().workArea = area;
  Start();
  struct Case {
    const char* where;
    float left, top;  // of the main window
  } cases[] = {
      {"where it opened", Window().left, Window().top},
      {"dragged half off the left", -4000, 500},
      {"dragged into the bottom right corner", area.width - 3000, area.height - 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    sim::Move(fMain().form(), c.left, c.top);
    sim::FormState seen;
    sim::TheWorld().waitingEvents.push_back([&seen] {
      seen = sim::StateOf(fHelp().form());
      sim::PressKey(fHelp().form(), kKeyEscape);
    });
    sim::PressKey(fMain().form(), kKeyF1);
    ASSERT_TRUE(seen.shown);
    ExpectInside(seen, area);
    const float centre =
        platform::CentredEdge(seen.width, c.left, Window().width, area.left, area.width);
    EXPECT_NEAR(seen.left, centre, kPixel);
    if (c.left > 0 && c.left + Window().width < area.width) {
      EXPECT_NEAR(seen.left + seen.width / 2, c.left + Window().width / 2, kPixel) << "centred";
    }
  }
}

TEST_F(ScreenFitTest, TheMainWindowKeepsItsControlsUsableAtItsMinimumSize) {
  struct Case {
    const char* what;
    platform::Area area;
    std::string install;
  } cases[] = {
      {"as laid out", Screen(1600, 1200, 96), "Install"},
      {"made smaller to fit", Screen(1366, 728, 144), "Install"},
      {"a long caption", Screen(1600, 1200, 96), "Install the chosen game now"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::ResetWorld();
    MainModule::ResetGlobals();
    sim::TheWorld().workArea = c.area;
    Start(c.install);
    const float firstWidth = Window().width, firstHeight = Window().height;
    sim::Resize(fMain().form(), 160 * kPixel, 120 * kPixel);
    const sim::FormState& w = Window();
    EXPECT_GT(w.width, 160 * kPixel);
    EXPECT_GT(w.height, 120 * kPixel);
    EXPECT_LT(w.width, firstWidth) << "it can still be made smaller than at first";
    EXPECT_LE(w.height, firstHeight);
    ExpectControlsInside(w);
    const sim::World& world = sim::TheWorld();
    for (int b : {MainLayout::btInstall, MainLayout::btClose, MainLayout::btReadMe}) {
      const sim::ControlState& button = w.controls[b];
      EXPECT_GE(button.width + kPixel,
                static_cast<float>(button.text.size()) * world.charWidth + sim::kButtonEdges)
          << "the caption fits: " << b;
      EXPECT_GE(button.height + kPixel, world.lineHeight + sim::kButtonEdges) << b;
    }
    for (int l : {MainLayout::lbGame, MainLayout::lbDescript})
      EXPECT_GE(w.controls[l].height + kPixel, world.lineHeight) << l;

    // Larger again, then back to the first size: every control where it was.
    sim::Resize(fMain().form(), 2 * firstWidth, firstHeight);
    EXPECT_FLOAT_EQ(Window().width, 2 * firstWidth);
  }
}

TEST_F(ScreenFitTest, AMinimumNeverLargerThanTheFirstSize) {
  Start(std::string(200, 'W'));
  const float firstWidth = Window().width, firstHeight = Window().height;
  sim::Resize(fMain().form(), 160 * kPixel, 120 * kPixel);
  EXPECT_FLOAT_EQ(Window().width, firstWidth) << "a caption too long for any window";
  EXPECT_LT(Window().height, firstHeight);
}

TEST_F(ScreenFitTest, TheReadMeBoxIsNamedByTheHeading) {
  Start();
  std::wstring name;
  bool labelShown = true;
  sim::TheWorld().waitingEvents.push_back([&] {
    const sim::FormState& help = sim::StateOf(fHelp().form());
    name = help.controls[HelpLayout::lbHelp].text;
    labelShown = help.controls[HelpLayout::lbHelp].visible;
    sim::PressKey(fHelp().form(), kKeyEscape);
  });
  sim::PressKey(fMain().form(), kKeyF1);
  EXPECT_EQ(name, L"About the disc");
  EXPECT_FALSE(labelShown);
}

TEST_F(ScreenFitTest, ThePictureIsDecodedAgainOnceTheSizeHasSettled) {
  sim::AddFile(kRoot + L"\\games\\Alpha\\screenshot.jpg", testpictures::kBlueJpeg);
  Start();
  fMain().lsGame.SetFocus();
  sim::PressKey(fMain().form(), platform::kKeyDown);
  sim::PressKey(fMain().form(), platform::kKeyDown);  // Alpha
  const sim::ControlState& img = Window().controls[MainLayout::img];
  ASSERT_EQ(img.decodes, 1);
  const float width = Window().width, height = Window().height;

  std::vector<platform::Extent> steps;
  for (int i = 1; i <= 5; ++i) steps.push_back({width + 600.0f * i, height + 450.0f * i});
  sim::Drag(fMain().form(), steps);
  EXPECT_EQ(img.decodes, 2) << "once, when the drag ends";
  EXPECT_FLOAT_EQ(img.pictureWidth, img.width);
  EXPECT_FLOAT_EQ(img.pictureHeight, img.height);

  sim::Resize(fMain().form(), width, height);  // restored, with no drag
  EXPECT_EQ(img.decodes, 3);
  EXPECT_FLOAT_EQ(img.pictureWidth, img.width);
  sim::Resize(fMain().form(), width, height);
  EXPECT_EQ(img.decodes, 3) << "the same size again: nothing to decode";
}

TEST_F(ScreenFitTest, AMainWindowThatCannotBeCreatedEndsTheProgram) {
  MakeDisc("[main]\r\ndisk=Disc\r\n", {L"Alpha"});
  sim::TheWorld().windowsCannotBeCreated = true;
  EXPECT_TRUE(RunMain()) << "ended, not left waiting without a window";
  EXPECT_TRUE(sim::TheWorld().exited);
  EXPECT_TRUE(sim::TheWorld().messages.empty());
  EXPECT_TRUE(sim::TheWorld().sounds.empty()) << "not even the start sound";
}

}  // namespace
