// Windows and controls, held to what the real ones do: texts, states, lists,
// and the events a user's keys raise through the dialog manager.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ContractWorld.h"
#include "platform/Forms.h"
#include "platform/Platform.h"

namespace {

using platform::ControlKind;

enum { kOk, kCancel, kLabel, kList, kText, kFolders, kOther, kCount };

const platform::ControlLayout kControls[kCount] = {
    {L"btOk", ControlKind::Button, 150, 2700, 1125, 375, 3, nullptr, nullptr, false, false},
    {L"btCancel", ControlKind::Button, 1500, 2700, 1125, 375, 4, nullptr, nullptr, false, false},
    {L"lbList", ControlKind::Label, 75, 75, 3000, 300, 0, nullptr, nullptr, false, false},
    {L"lsList", ControlKind::ListBox, 75, 375, 3000, 1200, 1, nullptr, L"a list", false, false},
    {L"edText", ControlKind::TextBox, 75, 1650, 3000, 900, 2, nullptr, nullptr, false, false},
    {L"drFolders", ControlKind::FolderList, 0, 0, 300, 300, 6, nullptr, nullptr, true, false},
    {L"btOther", ControlKind::Button, 2850, 2700, 1125, 375, 5, nullptr, nullptr, false, false},
};
const platform::FormLayout kLayout = {L"Contract", 4650,      3150,   true, true,
                                      true,        kControls, kCount, kOk,  kCancel};

struct Recorder final : platform::FormEvents {
  std::vector<std::string> events;
  void OnActivate() override { events.push_back("activate"); }
  void OnKeyUp(int key, int shift) override {
    events.push_back("keyup " + std::to_string(key) + " " + std::to_string(shift));
  }
  void OnClick(int c) override { events.push_back("click " + std::to_string(c)); }
  void OnSelectionChange(int c) override { events.push_back("select " + std::to_string(c)); }
  void OnFocus(int c) override { events.push_back("focus " + std::to_string(c)); }
  void OnTextChange(int c) override { events.push_back("text " + std::to_string(c)); }
  bool Saw(const std::string& e) const {
    return std::find(events.begin(), events.end(), e) != events.end();
  }
  int Count(const std::string& e) const {
    return static_cast<int>(std::count(events.begin(), events.end(), e));
  }
};

class FormsContract : public ::testing::Test {
 protected:
  void SetUp() override {
    contract::ScratchFolder(L"forms");
    ASSERT_TRUE(form.Create());
  }
  Recorder events;
  platform::Form form{kLayout, events};
};

TEST_F(FormsContract, TextsStatesAndLists) {
  EXPECT_EQ(form.Title(), L"Contract");
  EXPECT_EQ(form.ControlCount(), kCount);
  EXPECT_FALSE(form.Visible(kFolders)) << "a hidden control starts hidden";
  EXPECT_TRUE(form.Visible(kList));
  form.SetText(kLabel, L"Список & игр");
  EXPECT_EQ(form.Text(kLabel), L"Список & игр");
  form.SetVisible(kOther, false);
  EXPECT_FALSE(form.Visible(kOther));
  form.SetEnabled(kOk, false);
  EXPECT_FALSE(form.Enabled(kOk));
  EXPECT_TRUE(form.Enabled(kCancel));

  form.BeginFill(kList);
  for (const wchar_t* item : {L"b", L"a", L"Игра 10", L"Игра 2"}) form.AddItem(kList, item);
  form.EndFill(kList);
  EXPECT_EQ(form.ItemCount(kList), 4);
  EXPECT_EQ(form.ItemText(kList, 0), L"b") << "entries keep the order they were added in";
  EXPECT_EQ(form.ItemText(kList, 3), L"Игра 2");
  EXPECT_EQ(form.SelectedIndex(kList), -1);
}

TEST_F(FormsContract, SettingTheTextBoxRaisesOneChangeEachTime) {
  form.SetText(kText, L"line one\r\nline two");
  form.SetText(kText, L"line one\r\nline two");
  form.SetText(kText, L"");
  EXPECT_EQ(events.Count("text " + std::to_string(kText)), 3);
  EXPECT_EQ(form.Text(kText), L"");
  form.SetText(kLabel, L"label");
  EXPECT_EQ(events.Count("text " + std::to_string(kLabel)), 0);
}

TEST_F(FormsContract, ALongTextIsHeldWholeWhileItGoesIntoTheBox) {
  std::wstring text;
  for (int line = 0; text.size() < 300000; ++line)
    text += L"Line " + std::to_wstring(line) + L": " + std::wstring(90, L'ж') + L"\r\n";
  text += std::wstring(20000, L'x');  // and a long last line
  form.Show();
  form.SetText(kText, text);
  EXPECT_EQ(events.Count("text " + std::to_string(kText)), 1);
  EXPECT_EQ(form.Text(kText), text);
  // A box may take a long text in pieces while its window goes on answering.
  for (int i = 0; i < 150; ++i) {
    platform::DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(form.Text(kText), text);
  form.SetText(kText, L"short");
  EXPECT_EQ(form.Text(kText), L"short") << "what was still to come of the long text is gone";
  for (int i = 0; i < 10; ++i) platform::DoEvents();
  EXPECT_EQ(form.Text(kText), L"short");
}

TEST_F(FormsContract, AControlsTextEndsAtItsFirstNul) {
  form.SetText(kText, std::wstring(L"before\0after", 12));
  EXPECT_EQ(form.Text(kText), L"before");
  form.SetText(kLabel, std::wstring(L"\0label", 6));
  EXPECT_EQ(form.Text(kLabel), L"");
}

TEST_F(FormsContract, ShowingActivatesAndFocusesTheFirstControlInTabOrder) {
  form.Show();
  EXPECT_EQ(events.Count("activate"), 1);
  EXPECT_TRUE(events.Saw("focus " + std::to_string(kList)))
      << "the label before it cannot take the focus";
}

TEST_F(FormsContract, KeysGoThroughTheDialogManager) {
  for (const wchar_t* item : {L"one", L"two"}) form.AddItem(kList, item);
  form.Show();
  form.SetFocus(kList);
  events.events.clear();

  contract::PressKey(form, 0x28);  // Down
  EXPECT_EQ(form.SelectedIndex(kList), 0);
  contract::PressKey(form, 0x28);
  EXPECT_EQ(form.SelectedIndex(kList), 1);
  EXPECT_EQ(events.Count("select " + std::to_string(kList)), 2);

  contract::PressKey(form, 0x0D);  // Enter: the default button
  EXPECT_EQ(events.Count("click " + std::to_string(kOk)), 1);
  contract::PressKey(form, 0x1B);  // Esc: the cancel button
  EXPECT_EQ(events.Count("click " + std::to_string(kCancel)), 1);

  // A multi-line text box hands Enter and Esc to the window as well.
  form.SetFocus(kText);
  contract::PressKey(form, 0x1B);
  EXPECT_EQ(events.Count("click " + std::to_string(kCancel)), 2);
  contract::PressKey(form, 0x0D);
  EXPECT_EQ(events.Count("click " + std::to_string(kOk)), 2);
  form.SetFocus(kList);

  form.SetEnabled(kOk, false);
  contract::PressKey(form, 0x0D);
  EXPECT_EQ(events.Count("click " + std::to_string(kOk)), 2)
      << "a disabled default button is not pressed";

  events.events.clear();
  contract::PressKey(form, 0x70);  // F1, seen by the window first
  contract::PressKey(form, 0x70, platform::kShiftMask);
  contract::PressKey(form, 0x70, platform::kCtrlMask);
  EXPECT_TRUE(events.Saw("keyup 112 0"));
  EXPECT_TRUE(events.Saw("keyup 112 1"));
  EXPECT_TRUE(events.Saw("keyup 112 2"));
}

TEST_F(FormsContract, TabWalksTheTabOrder) {
  form.Show();
  form.SetFocus(kList);
  events.events.clear();
  contract::PressKey(form, 0x09);
  EXPECT_TRUE(events.Saw("focus " + std::to_string(kText)));
  contract::PressKey(form, 0x09);  // onto the first button: Space presses it
  contract::PressKey(form, 0x20);
  EXPECT_EQ(events.Count("click " + std::to_string(kOk)), 1);
}

}  // namespace

namespace {

struct Sized final : platform::FormEvents {
  platform::Extent least = {0, 0};
  platform::Extent MinimumSize() override { return least; }
};

TEST(FormsGeometryContract, LaidOutSizeFrameAndMinimumSize) {
  contract::ScratchFolder(L"geometry");
  Sized events;
  events.least = {4000, 3000};  // less than as laid out
  platform::Form form(kLayout, events);
  ASSERT_TRUE(form.Create());
  const float pixel = form.PixelSize();
  EXPECT_NEAR(form.Width() - form.FrameSize().width, 4650, pixel) << "the client area as laid out";
  EXPECT_NEAR(form.Height() - form.FrameSize().height, 3150, pixel);
  EXPECT_NEAR(form.ControlRect(kList).width, 3000, pixel);
  form.SetSize(1500, 1500);
  EXPECT_NEAR(form.Width(), 4000, pixel) << "kept at its minimum size";
  EXPECT_NEAR(form.Height(), 3000, pixel);
  form.SetSize(9000, 6000);
  EXPECT_NEAR(form.Width(), 9000, pixel);
  EXPECT_NEAR(form.Height(), 6000, pixel);
}

TEST_F(FormsContract, ContentSizesFollowTheCaptions) {
  form.SetText(kOk, L"OK");
  const platform::Extent shortCaption = form.ContentSize(kOk);
  form.SetText(kOk, L"A much longer caption");
  const platform::Extent longCaption = form.ContentSize(kOk);
  EXPECT_GT(shortCaption.width, 0);
  EXPECT_GT(longCaption.width, shortCaption.width);
  EXPECT_GT(shortCaption.height, 0);
  EXPECT_FLOAT_EQ(longCaption.height, shortCaption.height) << "one line either way";
  form.SetText(kLabel, L"");
  EXPECT_FLOAT_EQ(form.ContentSize(kLabel).width, 0) << "an empty label needs no room";
  form.SetText(kLabel, L"Список игр");
  EXPECT_GT(form.ContentSize(kLabel).width, 0);
  EXPECT_GT(form.ContentSize(kList).height, 0) << "one entry";
  EXPECT_GT(form.ContentSize(kText).height, 0) << "one line";
}

}  // namespace
