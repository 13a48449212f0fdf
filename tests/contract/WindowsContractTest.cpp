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

struct Recorder final : platform::FormEvents {
  Recorder(const char* n, Events& e) : name(n), events(e) {}
  const char* name;
  Events& events;
  void OnActivate() override { events.push_back(std::string(name) + " activate"); }
  void OnDeactivate() override { events.push_back(std::string(name) + " deactivate"); }
  void OnFocus(int c) override {
    events.push_back(std::string(name) + " focus " + std::to_string(c));
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

std::string Focus(const char* window, int control) {
  return std::string(window) + " focus " + std::to_string(control);
}

class TwoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    contract::ScratchFolder(L"windows");
    ASSERT_TRUE(owner.Create());
    ASSERT_TRUE(owned.Create());
    owner.Show();
    Settle();
    ASSERT_EQ(Form::ActiveForm(), &owner);
    events.clear();
  }
  static void Settle() {
    for (int i = 0; i < 5; ++i) platform::DoEvents();
  }
  // The owner disabled and the owned window shown over it, as a window
  // that must be dealt with first is shown.
  void ShowOwnedOverDisabledOwner() {
    owner.SetWindowEnabled(false);
    owned.ShowOwned(owner);
    Settle();
  }
  int Count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }

  Events events;
  Recorder ownerEvents{"owner", events};
  Recorder ownedEvents{"owned", events};
  Form owner{kOwnerLayout, ownerEvents};
  Form owned{kOwnedLayout, ownedEvents};
};

TEST_F(TwoWindows, TheOwnedWindowTakesTheActivationAndTheFocus) {
  ShowOwnedOverDisabledOwner();
  EXPECT_EQ(Form::ActiveForm(), &owned);
  EXPECT_TRUE(owned.IsVisible());
  EXPECT_TRUE(owner.IsVisible()) << "the owner stays on screen beneath it";
  EXPECT_FALSE(owner.WindowEnabled());
  EXPECT_EQ(Count("owner deactivate"), 1);
  EXPECT_EQ(Count("owned activate"), 1);
  EXPECT_EQ(Count("owner activate"), 0);
  const auto deactivated = std::find(events.begin(), events.end(), "owner deactivate");
  const auto activated = std::find(events.begin(), events.end(), "owned activate");
  EXPECT_LT(deactivated, activated) << "the owner lets go before the owned window takes over";
  EXPECT_EQ(Count(Focus("owned", kOwnedText)), 1) << "its first control in tab order";
}

TEST_F(TwoWindows, ADisabledOwnerCannotBeActivated) {
  ShowOwnedOverDisabledOwner();
  events.clear();
  owner.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &owned);
  EXPECT_TRUE(events.empty());
  owner.SetWindowEnabled(true);
  EXPECT_TRUE(owner.WindowEnabled());
  EXPECT_EQ(Form::ActiveForm(), &owned) << "enabling a window does not activate it";
  owner.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &owner);
  EXPECT_EQ(Count("owned deactivate"), 1);
  EXPECT_EQ(Count("owner activate"), 1);
}

TEST_F(TwoWindows, HiddenAfterItsOwnerIsEnabledTheActivationGoesBackToTheOwner) {
  ShowOwnedOverDisabledOwner();
  events.clear();
  owner.SetWindowEnabled(true);
  owned.Hide();
  Settle();
  EXPECT_FALSE(owned.IsVisible());
  EXPECT_EQ(Form::ActiveForm(), &owner);
  EXPECT_EQ(Count("owned deactivate"), 1);
  EXPECT_EQ(Count("owner activate"), 1);
  EXPECT_LT(std::find(events.begin(), events.end(), "owned deactivate"),
            std::find(events.begin(), events.end(), "owner activate"));
}

TEST_F(TwoWindows, HiddenWhileItsOwnerIsDisabledNoWindowOfTheProgramIsActive) {
  ShowOwnedOverDisabledOwner();
  events.clear();
  owned.Hide();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), nullptr);
  EXPECT_TRUE(events.empty()) << "the activation left for another program: no event";
  // Coming back from another program is no activation between the
  // program's own windows either.
  owner.SetWindowEnabled(true);
  owner.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &owner);
  EXPECT_EQ(Count("owner activate"), 0);
}

TEST_F(TwoWindows, TheFocusGoesOnlyToAControlThatIsShownAndEnabled) {
  ShowOwnedOverDisabledOwner();
  owner.SetWindowEnabled(true);
  owned.Hide();
  Settle();
  // The owner's list cannot take the focus while it is disabled or hidden.
  owner.SetFocus(kOwnerText);
  owner.SetEnabled(kOwnerList, false);
  events.clear();
  owner.SetFocus(kOwnerList);
  EXPECT_EQ(Count(Focus("owner", kOwnerList)), 0) << "disabled";
  owner.SetFocus(kOwnerLabel);
  EXPECT_TRUE(events.empty()) << "a label never takes the focus";
  owner.SetEnabled(kOwnerList, true);
  owner.SetVisible(kOwnerList, false);
  owner.SetFocus(kOwnerList);
  EXPECT_EQ(Count(Focus("owner", kOwnerList)), 0) << "hidden";
  // Tab from the text box: the button, then round past the hidden list.
  contract::PressKey(owner, platform::kKeyTab);
  contract::PressKey(owner, platform::kKeyTab);
  EXPECT_EQ(Count(Focus("owner", kOwnerText)), 1);
  EXPECT_EQ(Count(Focus("owner", kOwnerList)), 0);
  owner.SetVisible(kOwnerList, true);
  owner.SetFocus(kOwnerList);
  EXPECT_EQ(Count(Focus("owner", kOwnerList)), 1);
}

TEST_F(TwoWindows, ShownAgainTheOwnedWindowSkipsADisabledFirstControl) {
  owned.SetEnabled(kOwnedText, false);
  owner.SetWindowEnabled(false);
  owned.ShowOwned(owner);
  Settle();
  EXPECT_EQ(Count(Focus("owned", kOwnedText)), 0);
  EXPECT_EQ(Form::ActiveForm(), &owned);
}

// Twips fall on whole pixels: the client area as laid out, each control,
// a size or a rectangle set later, rounded half away from zero.
enum { kOdd, kOddCount };
const platform::ControlLayout kOddControls[kOddCount] = {
    {L"lsOdd", ControlKind::ListBox, 80, 100, 2010, 1013, 0, nullptr, nullptr, false, false},
};
const platform::FormLayout kOddLayout = {L"Odd", 4660,         3140,      true, true,
                                         false,  kOddControls, kOddCount, -1,   -1};

TEST(WindowPixelsContract, TwipsFallOnWholePixelsAt96Dpi) {
  contract::ScratchFolder(L"pixels");
  Events none;
  Recorder events("odd", none);
  Form form(kOddLayout, events);
  ASSERT_TRUE(form.Create());
  ASSERT_FLOAT_EQ(form.PixelSize(), 15) << "these figures are for 96 dots per inch";

  // 4660 twips are 310.67 pixels, 3140 are 209.33.
  EXPECT_FLOAT_EQ(form.Width() - form.FrameSize().width, 311 * 15) << "client width";
  EXPECT_FLOAT_EQ(form.Height() - form.FrameSize().height, 209 * 15) << "client height";
  const Form::Rect laid = form.ControlRect(kOdd);
  EXPECT_FLOAT_EQ(laid.left, 5 * 15) << "80 twips: 5.33 pixels";
  EXPECT_FLOAT_EQ(laid.top, 7 * 15) << "100 twips: 6.67 pixels";
  EXPECT_FLOAT_EQ(laid.width, 134 * 15) << "2010 twips: 134 pixels";
  EXPECT_FLOAT_EQ(laid.height, 68 * 15) << "1013 twips: 67.53 pixels";

  form.SetControlRect(kOdd, {337.5f, 352.5f, 1507.5f, 600});
  const Form::Rect set = form.ControlRect(kOdd);
  EXPECT_FLOAT_EQ(set.left, 23 * 15) << "22.5 pixels";
  EXPECT_FLOAT_EQ(set.top, 24 * 15) << "23.5 pixels";
  EXPECT_FLOAT_EQ(set.width, 101 * 15) << "100.5 pixels";
  EXPECT_FLOAT_EQ(set.height, 40 * 15);

  form.SetSize(6007.5f, 4492.5f);
  EXPECT_FLOAT_EQ(form.Width(), 401 * 15) << "400.5 pixels";
  EXPECT_FLOAT_EQ(form.Height(), 300 * 15) << "299.5 pixels";
}

}  // namespace
