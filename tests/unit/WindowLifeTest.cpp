// The main window's life over the simulated world: the read-me in the help
// window, and what the user finds when it closes.
#include <gtest/gtest.h>

#include "SimDisc.h"
#include "Version.h"
#include "helpwindow/HelpWindow.h"
#include "platform/Keys.h"

using namespace simdisc;

namespace {

using platform::kKeyEscape;
using platform::kKeyF1;

const sim::FormState& Help() { return sim::StateOf(fHelp().form()); }

class WindowLifeTest : public ProgramTest {};

// However the read-me is opened and dismissed, and wherever the focus was:
// the main window waits disabled under it, then is active again with the
// focus on the list, the choice kept and the launch button disabled.
TEST_F(WindowLifeTest, TheReadMeHoldsUpTheMainWindowUntilDismissed) {
  MakeDisc("[main]\r\ndisk=Диск\r\nhelp=О диске\r\nHelpButton=2\r\n", {L"Alpha", L"Beta"});
  sim::AddFile(kRoot + L"\\read.me.txt", "Read me\rfirst");
  ASSERT_FALSE(RunMain());
  Press(platform::kKeyDown);
  Press(platform::kKeyDown);  // Alpha
  struct Case {
    const char* how;
    int focus;  // before
    void (*open)();
    void (*dismiss)();
  };
  const Case cases[] = {
      {"F1, then Shift+Esc and Esc", MainLayout::edDescript, [] { Press(kKeyF1); },
       [] {
         sim::PressKey(fHelp().form(), kKeyEscape, platform::kShiftMask);
         EXPECT_TRUE(Help().shown) << "Shift+Esc leaves it open";
         sim::PressKey(fHelp().form(), kKeyEscape);
       }},
      {"a click on the read-me button, then OK", MainLayout::btClose,
       [] { sim::Click(fMain().form(), MainLayout::btReadMe); },
       [] { sim::Click(fHelp().form(), HelpLayout::btHelp); }},
      {"F1, then closed", MainLayout::btReadMe, [] { Press(kKeyF1); },
       [] { sim::RequestClose(fHelp().form()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    fMain().btInstall.SetEnabled(true);
    fMain().form().SetFocus(c.focus);
    ASSERT_EQ(Window().focus, c.focus);
    sim::FormState seen;
    bool mainEnabled = true;
    sim::TheWorld().waitingEvents.push_back([&] {
      seen = Help();
      mainEnabled = Window().enabled;
      c.dismiss();
    });
    c.open();
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, L"О диске");
    EXPECT_EQ(seen.controls.at(HelpLayout::lbHelp).text, L"О диске") << "the text's spoken name";
    EXPECT_EQ(seen.controls.at(HelpLayout::edHelp).text, L"Read me\r\nfirst");
    EXPECT_FALSE(mainEnabled);
    EXPECT_FALSE(Help().shown);
    EXPECT_TRUE(Window().enabled);
    EXPECT_EQ(platform::Form::ActiveForm(), &fMain().form());
    EXPECT_EQ(Window().focus, MainLayout::lsGame);
    EXPECT_EQ(Control(MainLayout::lsGame).selected, 1);
    EXPECT_FALSE(Control(MainLayout::btInstall).enabled);
    EXPECT_EQ(Window().title, L"Varnolt - " VARNOLT_VERSION_TEXT) << "the version once";
  }
  // Nothing answers a help window opened here: its wait would fail.
  for (int shift : {platform::kShiftMask, platform::kCtrlMask, platform::kAltMask})
    EXPECT_NO_THROW(Press(kKeyF1, shift));
}

}  // namespace
