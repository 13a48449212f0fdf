// The main window's life over the simulated world: the read-me and the help
// window, activation, the versioned title, proportional layout.
#include <gtest/gtest.h>

#include "SimDisc.h"
#include "Version.h"
#include "helpwindow/HelpWindow.h"
#include "platform/Keys.h"
#include "util/AllControlsResizeModule.h"
#include "util/AppTitleModule.h"

using namespace simdisc;

namespace {

using platform::kAltMask;
using platform::kCtrlMask;
using platform::kKeyDown;
using platform::kKeyEscape;
using platform::kKeyF1;
using platform::kKeyReturn;
using platform::kShiftMask;

const sim::ControlState& Control(int c) { return Window().controls[c]; }
const sim::FormState& Help() { return sim::StateOf(fHelp().form()); }

class WindowLifeTest : public ProgramTest {
 protected:
  void Start(bool withReadMe = true, const std::string& helpButton = "2") {
    MakeDisc("[main]\r\ndisk=Диск\r\nhelp=О диске\r\nHelpButton=" + helpButton + "\r\n",
             {L"Alpha", L"Beta"});
    if (withReadMe) sim::AddFile(kRoot + L"\\read.me.txt", "Read me\r\n");
    ASSERT_FALSE(RunMain());
  }
  // What the user does while the help window is open, run by its wait.
  void WhileHelpIsOpen(std::function<void()> action) {
    sim::TheWorld().waitingEvents.push_back([this, action] {
      seenWhileOpen = {Help().shown, Window().enabled, Help().title,
                       Help().controls[HelpLayout::edHelp].text};
      action();
    });
  }
  void Press(int key, int shift = 0) { sim::PressKey(fMain().form(), key, shift); }

  struct Seen {
    bool helpShown = false, mainEnabled = true;
    std::wstring title, text;
  } seenWhileOpen;
};

TEST_F(WindowLifeTest, ActivationHidesTheFolderListDisablesLaunchAndStampsTheTitleOnce) {
  Start();
  EXPECT_EQ(Window().title, L"Varnolt - " VARNOLT_VERSION_TEXT);
  EXPECT_FALSE(Control(MainLayout::drGame).visible);
  Press(kKeyDown);
  Press(kKeyDown);
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
  for (int i = 0; i < 3; ++i) {
    WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
    Press(kKeyF1);
  }
  EXPECT_EQ(Window().title, L"Varnolt - " VARNOLT_VERSION_TEXT)
      << "the version once, however often activated";
  EXPECT_FALSE(Control(MainLayout::btInstall).enabled) << "disabled again after the help window";
  EXPECT_EQ(Control(MainLayout::lsGame).selected, 1) << "the selection is kept";
  EXPECT_EQ(Window().focus, MainLayout::lsGame);
}

TEST_F(WindowLifeTest, F1ShowsTheReadMeModallyUnderItsHeading) {
  Start(true, "0");  // the button is hidden: F1 works all the same
  WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
  Press(kKeyF1);
  EXPECT_TRUE(seenWhileOpen.helpShown);
  EXPECT_FALSE(seenWhileOpen.mainEnabled)
      << "the main window is disabled while the help window is open";
  EXPECT_EQ(seenWhileOpen.title, L"О диске");
  EXPECT_EQ(seenWhileOpen.text, L"Read me\r\n");
  EXPECT_FALSE(Help().shown);
  EXPECT_TRUE(Window().enabled);
  EXPECT_EQ(Window().focus, MainLayout::lsGame);
  EXPECT_EQ(platform::Form::ActiveForm(), &fMain().form());
}

TEST_F(WindowLifeTest, AfterTheReadMeTheFocusIsOnTheListWhereverItWasBefore) {
  Start();
  for (int before : {MainLayout::edDescript, MainLayout::btReadMe, MainLayout::btClose}) {
    SCOPED_TRACE(before);
    seenWhileOpen = {};
    fMain().form().SetFocus(before);
    ASSERT_EQ(Window().focus, before);
    WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
    if (before == MainLayout::btReadMe)
      sim::PressKey(fMain().form(), platform::kKeySpace);  // the focused button
    else
      Press(kKeyF1);
    EXPECT_TRUE(seenWhileOpen.helpShown);
    EXPECT_EQ(Window().focus, MainLayout::lsGame);
  }
}

TEST_F(WindowLifeTest, TheReadMeIsShownWholeWithItsLineBreaks) {
  Start();
  sim::FindEntry(kRoot + L"\\read.me.txt")->bytes =
      std::string("Read me\rfirst") + '\0' + "second\r\rend \xDF";
  WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
  Press(kKeyF1);
  EXPECT_EQ(seenWhileOpen.text, L"Read me\r\nfirst second\r\n\r\nend Я");
}

TEST_F(WindowLifeTest, TheReadMeButtonEnterAndOkDismiss) {
  Start();
  for (auto dismiss :
       std::vector<std::function<void()>>{[] { sim::PressKey(fHelp().form(), kKeyReturn); },
                                          [] { sim::Click(fHelp().form(), HelpLayout::btHelp); },
                                          [] { sim::RequestClose(fHelp().form()); }}) {
    WhileHelpIsOpen(dismiss);
    fMain().btReadMe.SetFocus();
    sim::Click(fMain().form(), MainLayout::btReadMe);
    EXPECT_TRUE(seenWhileOpen.helpShown);
    EXPECT_FALSE(Help().shown);
    EXPECT_TRUE(Window().enabled);
    EXPECT_EQ(Window().focus, MainLayout::lsGame) << "back on the list";
  }
}

TEST_F(WindowLifeTest, ModifiedF1OrEscapeDoNothing) {
  Start();
  for (int shift : {kShiftMask, kCtrlMask, kAltMask}) Press(kKeyF1, shift);
  EXPECT_FALSE(Help().shown);
  EXPECT_EQ(sim::TheWorld().waitsForEvents, 0);

  int escapes = 0;
  WhileHelpIsOpen([&escapes, this] {
    sim::PressKey(fHelp().form(), kKeyEscape, kShiftMask);  // stays open
    ++escapes;
    WhileHelpIsOpen([&escapes] {
      sim::PressKey(fHelp().form(), kKeyEscape, kCtrlMask);
      ++escapes;
      sim::TheWorld().waitingEvents.push_back([] { sim::PressKey(fHelp().form(), kKeyEscape); });
    });
  });
  Press(kKeyF1);
  EXPECT_EQ(escapes, 2);
  EXPECT_GE(sim::TheWorld().waitsForEvents, 2) << "the wait blocked between the keys";
  EXPECT_FALSE(Help().shown);
}

TEST_F(WindowLifeTest, MissingOrEmptyReadMeDoesNothing) {
  for (bool empty : {false, true}) {
    sim::ResetWorld();
    MainModule::ResetGlobals();
    Start(false);
    if (empty) sim::AddFile(kRoot + L"\\read.me.txt", "");
    fMain().btClose.SetFocus();
    sim::TheWorld().sounds.clear();
    Press(kKeyF1);
    sim::Click(fMain().form(), MainLayout::btReadMe);
    EXPECT_FALSE(Help().shown);
    EXPECT_EQ(Window().focus, MainLayout::btClose) << "the focus stays where it was";
    EXPECT_TRUE(sim::TheWorld().sounds.empty());
  }
}

TEST_F(WindowLifeTest, HelpWithoutModalOrWithoutAnActiveWindowDisablesNothing) {
  Start();
  WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
  fHelp().Help(L"", L"", false);
  EXPECT_TRUE(seenWhileOpen.helpShown) << "an empty text still waits";
  EXPECT_TRUE(seenWhileOpen.mainEnabled);
  EXPECT_EQ(seenWhileOpen.title, L"");

  WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
  fHelp().Help(L"second", L"Second", true);
  EXPECT_EQ(seenWhileOpen.text, L"second") << "each call shows its own text";
  EXPECT_EQ(seenWhileOpen.title, L"Second");
}

std::vector<platform::Form::Rect> Rects() {
  std::vector<platform::Form::Rect> rects;
  for (const sim::ControlState& c : Window().controls)
    rects.push_back({c.left, c.top, c.width, c.height});
  return rects;
}

TEST_F(WindowLifeTest, ControlsFollowTheWindowsSizeBeforeAndAfterTheHelpWindow) {
  Start();
  const std::vector<platform::Form::Rect> original = Rects();
  const float width = Window().width, height = Window().height;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "before the help window" : "after the help window");
    sim::Resize(fMain().form(), 2 * width, height);
    const std::vector<platform::Form::Rect> doubled = Rects();
    for (int c :
         {MainLayout::lsGame, MainLayout::btInstall, MainLayout::btClose, MainLayout::edDescript}) {
      EXPECT_FLOAT_EQ(doubled[c].left, 2 * original[c].left) << c;
      EXPECT_FLOAT_EQ(doubled[c].width, 2 * original[c].width) << c;
      EXPECT_FLOAT_EQ(doubled[c].top, original[c].top) << c;
      EXPECT_FLOAT_EQ(doubled[c].height, original[c].height) << c;
    }
    EXPECT_FLOAT_EQ(doubled[MainLayout::drGame].width, original[MainLayout::drGame].width)
        << "hidden: left alone";
    // Many odd sizes, then the first one again: nothing drifts.
    for (float f : {0.37f, 1.91f, 0.83f, 3.3f, 0.5f})
      sim::Resize(fMain().form(), f * width, f * height);
    sim::Resize(fMain().form(), width, height);
    const std::vector<platform::Form::Rect> back = Rects();
    for (std::size_t c = 0; c < back.size(); ++c) {
      EXPECT_FLOAT_EQ(back[c].left, original[c].left) << c;
      EXPECT_FLOAT_EQ(back[c].width, original[c].width) << c;
    }
    WhileHelpIsOpen([] { sim::PressKey(fHelp().form(), kKeyEscape); });
    Press(kKeyF1);
  }
}

TEST(ResizeModuleTest, NoRecordOrNoControlsChangesNothing) {
  sim::ResetWorld();
  struct NoEvents final : platform::FormEvents {
  } events;
  const platform::ControlLayout one[] = {{L"b", platform::ControlKind::Button, 150, 150, 1500, 375,
                                          0, nullptr, nullptr, false, false}};
  const platform::FormLayout layout = {L"x", 3000, 3000, true, true, false, one, 1, -1, -1};
  platform::Form form(layout, events);
  form.Create();
  AllControlsResizeModule::ResizeRecord record;
  form.SetSize(6000, 6000);
  AllControlsResizeModule::ResizeControls(record, form);  // never recorded
  EXPECT_FLOAT_EQ(form.ControlRect(0).width, 1500);
}

TEST(AppTitleTest, TheVersionFromTheResourceWithoutItsBuildNumber) {
  sim::ResetWorld();
  sim::TheWorld().version = {2, 10, 7, 45};
  EXPECT_EQ(AppTitleModule::AppTitle(L"V"), L"V - 2.10.45")
      << "read from the resource, build number left out";
}

}  // namespace
