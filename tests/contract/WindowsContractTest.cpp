// Two windows, one owned by the other, held to what real windows do: which
// is active, the activation events each raises, what can take the focus,
// and where the layout's twips fall in whole pixels at 96 dots per inch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContractWorld.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
#include "platform/Platform.h"

namespace {

using platform::ControlKind;
using platform::Form;

using Events = std::vector<std::string>;

// A real button raises no focus event (the simulation's does): a button's
// focus is not recorded.
struct Recorder final : platform::FormEvents {
  Recorder(const char* n, Events& e, int b) : name(n), events(e), button(b) {}
  const char* name;
  Events& events;
  int button;
  void OnActivate() override { events.push_back(name + std::string(" activate")); }
  void OnDeactivate() override { events.push_back(name + std::string(" deactivate")); }
  void OnFocus(int c) override {
    if (c != button) events.push_back(name + (" focus " + std::to_string(c)));
  }
};

enum { kOwnerLabel, kOwnerList, kOwnerText, kOwnerButton, kOwnerCount };
const platform::ControlLayout kOwnerControls[kOwnerCount] = {
    {L"lbList", ControlKind::Label, 75, 75, 3000, 300, 0, nullptr, nullptr, false, false},
    {L"lsList", ControlKind::ListBox, 75, 375, 3000, 1200, 1, nullptr, nullptr, false, false},
    {L"edText", ControlKind::TextBox, 75, 1650, 3000, 900, 2, nullptr, nullptr, false, true},
    {L"btClose", ControlKind::Button, 75, 2650, 1125, 375, 3, nullptr, nullptr, false, false},
};
const platform::FormLayout kOwnerLayout = {
    L"Owner", 4650, 3150, true, true, true, kOwnerControls, kOwnerCount, -1, kOwnerButton};

enum { kOwnedText, kOwnedButton, kOwnedCount };
const platform::ControlLayout kOwnedControls[kOwnedCount] = {
    {L"edHelp", ControlKind::TextBox, 75, 75, 2400, 1200, 0, nullptr, nullptr, false, true},
    {L"btHelp", ControlKind::Button, 75, 1350, 1125, 375, 1, nullptr, nullptr, false, false},
};
const platform::FormLayout kOwnedLayout = {L"Owned",     2550,        1800,           false,
                                           false,        true,        kOwnedControls, kOwnedCount,
                                           kOwnedButton, kOwnedButton};

class TwoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    contract::ScratchFolder(L"windows");
    ASSERT_TRUE(owner.Create());
    ASSERT_TRUE(owned.Create());
    owner.Show();
    Settle();
    ASSERT_EQ(Form::ActiveForm(), &owner);
  }
  static void Settle() {
    for (int i = 0; i < 5; ++i) platform::DoEvents();
  }
  // The owner disabled and the owned window shown over it, as a window
  // that must be dealt with first is shown; the events from then on.
  void ShowOwnedOverDisabledOwner() {
    events.clear();
    owner.SetWindowEnabled(false);
    owned.ShowOwned(owner);
    Settle();
    ASSERT_EQ(Form::ActiveForm(), &owned);
    ASSERT_TRUE(owner.IsVisible()) << "the owner stays on screen beneath it";
  }
  // The events since the last call; the focus's only where asked for (a
  // real window gives its focus back to a control as it is activated).
  Events Take(bool focusToo = false) {
    Events taken;
    for (const std::string& e : std::exchange(events, Events()))
      if (focusToo || e.find(" focus ") == std::string::npos) taken.push_back(e);
    return taken;
  }

  Events events;
  Recorder ownerEvents{"owner", events, kOwnerButton};
  Recorder ownedEvents{"owned", events, kOwnedButton};
  Form owner{kOwnerLayout, ownerEvents};
  Form owned{kOwnedLayout, ownedEvents};
};

TEST_F(TwoWindows, ActivationGoesToTheOwnedWindowAndBack) {
  ShowOwnedOverDisabledOwner();
  EXPECT_EQ(Take(true), (Events{"owner deactivate", "owned activate", "owned focus 0"}));
  owner.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &owned) << "a disabled owner cannot be activated";
  owner.SetWindowEnabled(true);
  EXPECT_EQ(Form::ActiveForm(), &owned) << "enabling a window does not activate it";
  EXPECT_EQ(Take(), Events());
  owned.Hide();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &owner) << "hidden, it hands the activation to its owner";
  EXPECT_EQ(Take(), (Events{"owned deactivate", "owner activate"}));
}

TEST_F(TwoWindows, HiddenWhileItsOwnerIsDisabledNoWindowOfTheProgramIsActive) {
  ShowOwnedOverDisabledOwner();
  Take();
  owned.Hide();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), nullptr);
  // The activation left for another program, and coming back from it is no
  // activation between the program's own windows either: no events.
  owner.SetWindowEnabled(true);
  owner.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &owner);
  EXPECT_EQ(Take(), Events());
}

TEST_F(TwoWindows, TheFocusGoesOnlyToAControlThatIsShownAndEnabled) {
  owned.SetEnabled(kOwnedText, false);
  ShowOwnedOverDisabledOwner();
  EXPECT_EQ(Take(true), (Events{"owner deactivate", "owned activate"}));
  owner.SetWindowEnabled(true);
  owned.Hide();
  Settle();
  owner.SetFocus(kOwnerText);
  owner.SetEnabled(kOwnerList, false);
  Take();
  owner.SetFocus(kOwnerList);   // disabled
  owner.SetFocus(kOwnerLabel);  // a label never takes the focus
  owner.SetEnabled(kOwnerList, true);
  owner.SetVisible(kOwnerList, false);
  owner.SetFocus(kOwnerList);  // hidden
  // Tab from the text box: the button, then round past the hidden list.
  contract::PressKey(owner, platform::kKeyTab);
  contract::PressKey(owner, platform::kKeyTab);
  owner.SetVisible(kOwnerList, true);
  owner.SetFocus(kOwnerList);
  EXPECT_EQ(Take(true), (Events{"owner focus 2", "owner focus 1"}));
}

// Twips fall on whole pixels, rounded half away from zero: the client area
// as laid out, a control, a rectangle and a size set later.
TEST(WindowPixelsContract, TwipsFallOnWholePixelsAt96Dpi) {
  contract::ScratchFolder(L"pixels");
  const platform::ControlLayout list = {
      L"lsOdd", ControlKind::ListBox, 80, 100, 2010, 1013, 0, nullptr, nullptr, false, false};
  const platform::FormLayout layout = {L"Odd", 4660, 3140, true, true, false, &list, 1, -1, -1};
  Events none;
  Recorder events("odd", none, -1);
  Form form(layout, events);
  ASSERT_TRUE(form.Create());
  ASSERT_FLOAT_EQ(form.PixelSize(), 15) << "these figures are for 96 dots per inch";
  const Form::Rect laid = form.ControlRect(0);
  form.SetControlRect(0, {337.5f, 352.5f, 1507.5f, 600});
  const Form::Rect set = form.ControlRect(0);
  const Form::Rect client = {0, 0, form.Width() - form.FrameSize().width,
                             form.Height() - form.FrameSize().height};
  form.SetSize(6007.5f, 4492.5f);
  const struct {
    const char* what;
    float twips, pixels;
  } cases[] = {
      {"client width 310.67", client.width, 311},
      {"client height 209.33", client.height, 209},
      {"left 5.33", laid.left, 5},
      {"top 6.67", laid.top, 7},
      {"width 134", laid.width, 134},
      {"height 67.53", laid.height, 68},
      {"left 22.5", set.left, 23},
      {"top 23.5", set.top, 24},
      {"width 100.5", set.width, 101},
      {"height 40", set.height, 40},
      {"window width 400.5", form.Width(), 401},
      {"window height 299.5", form.Height(), 300},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(c.twips, c.pixels * 15) << c.what;
}

}  // namespace
