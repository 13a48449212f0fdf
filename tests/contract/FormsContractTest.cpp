// Windows and controls, held to what the real ones do: texts, states, lists,
// and the events a user's keys raise through the dialog manager.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ContractWorld.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
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
  platform::Extent least = {0, 0};
  void Add(const char* what, int c) { events.push_back(what + std::to_string(c)); }
  void OnActivate() override { events.push_back("activate"); }
  void OnKeyUp(int key, int shift) override {
    Add(("keyup " + std::to_string(key) + " ").c_str(), shift);
  }
  void OnClick(int c) override { Add("click ", c); }
  void OnSelectionChange(int c) override { Add("select ", c); }
  void OnFocus(int c) override { Add("focus ", c); }
  void OnTextChange(int c) override { Add("text ", c); }
  platform::Extent MinimumSize() override { return least; }
};

class FormsContract : public ::testing::Test {
 protected:
  void SetUp() override {
    contract::ScratchFolder(L"forms");
    ASSERT_TRUE(form.Create());
  }
  int Count(const char* what, int c = -1) const {
    const std::string event = c < 0 ? what : what + std::to_string(c);
    return static_cast<int>(std::count(recorder.events.begin(), recorder.events.end(), event));
  }
  Recorder recorder;
  platform::Form form{kLayout, recorder};
};

TEST_F(FormsContract, TextsListsAndTextChanges) {
  EXPECT_FALSE(form.Visible(kFolders)) << "a hidden control starts hidden";
  form.SetText(kLabel, L"Список & игр");
  EXPECT_EQ(form.Text(kLabel), L"Список & игр");
  for (const wchar_t* item : {L"b", L"a", L"Игра 10", L"Игра 2"}) form.AddItem(kList, item);
  EXPECT_EQ(form.ItemCount(kList), 4);
  EXPECT_EQ(form.ItemText(kList, 0), L"b") << "entries keep the order they were added in";
  EXPECT_EQ(form.ItemText(kList, 3), L"Игра 2");
  EXPECT_EQ(form.SelectedIndex(kList), -1);

  // The text box raises one change each time it is set, even to the same
  // text; a label none. A text ends at its first NUL.
  form.SetText(kText, L"line one\r\nline two");
  form.SetText(kText, L"line one\r\nline two");
  form.SetText(kText, std::wstring(L"before\0after", 12));
  EXPECT_EQ(form.Text(kText), L"before");
  EXPECT_EQ(Count("text ", kText), 3);
  EXPECT_EQ(Count("text ", kLabel), 0);
}

TEST_F(FormsContract, ALongTextIsHeldWholeWhileItGoesIntoTheBox) {
  std::wstring text;
  for (int line = 0; text.size() < 300000; ++line)
    text += L"Line " + std::to_wstring(line) + L": " + std::wstring(90, L'ж') + L"\r\n";
  text += std::wstring(20000, L'x');  // and a long last line
  form.Show();
  form.SetText(kText, text);
  EXPECT_EQ(Count("text ", kText), 1);
  // A box may take a long text in pieces while its window goes on answering.
  for (int i = 0; i < 150; ++i) {
    EXPECT_EQ(form.Text(kText).size(), text.size());
    platform::DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(form.Text(kText), text);
  form.SetText(kText, L"short");
  for (int i = 0; i < 10; ++i) platform::DoEvents();
  EXPECT_EQ(form.Text(kText), L"short") << "what was still to come of the long text is gone";
}

TEST_F(FormsContract, ShowingFocusesTheFirstInTabOrderAndTabWalksIt) {
  form.Show();
  EXPECT_EQ(Count("activate"), 1);
  EXPECT_EQ(Count("focus ", kList), 1) << "the label before it cannot take the focus";
  contract::PressKey(form, platform::kKeyTab);
  EXPECT_EQ(Count("focus ", kText), 1);
  contract::PressKey(form, platform::kKeyTab);  // onto the first button: Space presses it
  contract::PressKey(form, platform::kKeySpace);
  EXPECT_EQ(Count("click ", kOk), 1);
}

TEST_F(FormsContract, KeysGoThroughTheDialogManager) {
  for (const wchar_t* item : {L"one", L"two"}) form.AddItem(kList, item);
  form.Show();
  contract::PressKey(form, platform::kKeyDown);
  EXPECT_EQ(form.SelectedIndex(kList), 0);
  contract::PressKey(form, platform::kKeyDown);
  EXPECT_EQ(form.SelectedIndex(kList), 1);
  EXPECT_EQ(Count("select ", kList), 2);

  contract::PressKey(form, platform::kKeyReturn);  // Enter: the default button
  EXPECT_EQ(Count("click ", kOk), 1);
  contract::PressKey(form, platform::kKeyEscape);  // Esc: the cancel button
  EXPECT_EQ(Count("click ", kCancel), 1);
  // A multi-line text box hands Enter and Esc to the window as well.
  form.SetFocus(kText);
  contract::PressKey(form, platform::kKeyEscape);
  contract::PressKey(form, platform::kKeyReturn);
  EXPECT_EQ(Count("click ", kCancel), 2);
  EXPECT_EQ(Count("click ", kOk), 2);
  form.SetEnabled(kOk, false);
  contract::PressKey(form, platform::kKeyReturn);
  EXPECT_EQ(Count("click ", kOk), 2) << "a disabled default button is not pressed";

  // F1, seen by the window first, with the state of Shift and Ctrl.
  contract::PressKey(form, platform::kKeyF1);
  contract::PressKey(form, platform::kKeyF1, platform::kShiftMask);
  contract::PressKey(form, platform::kKeyF1, platform::kCtrlMask);
  for (int shift = 0; shift < 3; ++shift) EXPECT_EQ(Count("keyup 112 ", shift), 1);
}

TEST_F(FormsContract, SizesFollowTheLayoutTheMinimumAndTheCaptions) {
  const float pixel = form.PixelSize();
  EXPECT_NEAR(form.Width() - form.FrameSize().width, 4650, pixel) << "the client area as laid out";
  EXPECT_NEAR(form.Height() - form.FrameSize().height, 3150, pixel);
  recorder.least = {4000, 3000};
  form.SetSize(1500, 1500);
  EXPECT_NEAR(form.Width(), 4000, pixel) << "kept at its minimum size";
  EXPECT_NEAR(form.Height(), 3000, pixel);

  form.SetText(kOk, L"OK");
  const platform::Extent shortCaption = form.ContentSize(kOk);
  form.SetText(kOk, L"A much longer caption");
  EXPECT_GT(form.ContentSize(kOk).width, shortCaption.width);
  EXPECT_FLOAT_EQ(form.ContentSize(kOk).height, shortCaption.height) << "one line either way";
  form.SetText(kLabel, L"");
  EXPECT_EQ(form.ContentSize(kLabel).width, 0) << "an empty label needs no room";
  EXPECT_EQ(form.ContentSize(kLabel).height, 0);
}

}  // namespace
