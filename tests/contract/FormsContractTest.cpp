// Windows and controls, held to what real ones do: texts, lists, the events
// a user's keys raise through the dialog manager, which of two windows (one
// owned by the other) is active and what can take the focus, where the
// layout's twips fall in whole pixels at 96 dots per inch, and which files
// show a picture.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "ContractWorld.h"
#include "TestPictureFiles.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
#include "platform/Platform.h"

namespace {

using platform::ControlKind;
using platform::Form;
using Events = std::vector<std::string>;

enum { kOk, kCancel, kLabel, kList, kText, kFolders, kOther, kImage, kCount };
// clang-format off
const platform::ControlLayout kControls[kCount] = {
    {.name = L"btOk", .kind = ControlKind::Button,
     .left = 150, .top = 2700, .width = 1125, .height = 375, .tabIndex = 3},
    {.name = L"btCancel", .kind = ControlKind::Button,
     .left = 1500, .top = 2700, .width = 1125, .height = 375, .tabIndex = 4},
    {.name = L"lbList", .kind = ControlKind::Label,
     .left = 75, .top = 75, .width = 3000, .height = 300, .tabIndex = 0},
    // Its twips fall between pixels.
    {.name = L"lsList", .kind = ControlKind::ListBox,
     .left = 80, .top = 100, .width = 2010, .height = 1013, .tabIndex = 1},
    {.name = L"edText", .kind = ControlKind::TextBox,
     .left = 75, .top = 1650, .width = 3000, .height = 900, .tabIndex = 2},
    {.name = L"drFolders", .kind = ControlKind::FolderList,
     .left = 0, .top = 0, .width = 300, .height = 300, .tabIndex = 6, .hidden = true},
    {.name = L"btOther", .kind = ControlKind::Button,
     .left = 2850, .top = 2700, .width = 1125, .height = 375, .tabIndex = 5},
    {.name = L"imgShot", .kind = ControlKind::Image,
     .left = 3150, .top = 75, .width = 1500, .height = 1125, .tabIndex = platform::kNoTabStop},
};
const platform::FormLayout kLayout = {
    .caption = L"Contract", .clientWidth = 4660, .clientHeight = 3140,
    .sizable = true, .controlBox = true, .keyPreview = true,
    .controls = kControls, .controlCount = kCount, .defaultButton = kOk, .cancelButton = kCancel};
// clang-format on

// A window shown over the main one, which it owns.
enum { kHelpText, kHelpButton, kHelpCount };
// clang-format off
const platform::ControlLayout kHelpControls[kHelpCount] = {
    {.name = L"edHelp", .kind = ControlKind::TextBox,
     .left = 75, .top = 75, .width = 2400, .height = 1200, .tabIndex = 0, .locked = true},
    {.name = L"btHelp", .kind = ControlKind::Button,
     .left = 75, .top = 1350, .width = 1125, .height = 375, .tabIndex = 1},
};
const platform::FormLayout kHelpLayout = {
    .caption = L"Help", .clientWidth = 2550, .clientHeight = 1800,
    .sizable = false, .controlBox = false, .keyPreview = true,
    .controls = kHelpControls, .controlCount = kHelpCount,
    .defaultButton = kHelpButton, .cancelButton = kHelpButton};
// clang-format on

// A real button raises no focus event (the simulation's does): a button's
// focus is not recorded.
struct Recorder final : platform::FormEvents {
  Recorder(const char* n, Events& e, const platform::FormLayout& l)
      : name(n), events(e), layout(l) {}
  const char* name;
  Events& events;
  const platform::FormLayout& layout;
  platform::Extent least = {0, 0};
  void Add(const std::string& what) { events.push_back(name + (" " + what)); }
  void OnActivate() override { Add("activate"); }
  void OnDeactivate() override { Add("deactivate"); }
  void OnKeyUp(int key, int shift) override {
    Add("keyup " + std::to_string(key) + " " + std::to_string(shift));
  }
  void OnClick(int c) override { Add("click " + std::to_string(c)); }
  void OnSelectionChange(int c) override { Add("select " + std::to_string(c)); }
  void OnTextChange(int c) override { Add("text " + std::to_string(c)); }
  void OnFocus(int c) override {
    if (layout.controls[c].kind != ControlKind::Button) Add("focus " + std::to_string(c));
  }
  platform::Extent MinimumSize() override { return least; }
};

class FormsContract : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = contract::ScratchFolder(L"forms");
    ASSERT_TRUE(form.Create());
    ASSERT_TRUE(help.Create());
  }
  // The window answers what is queued, a little at a time.
  static void Settle(int rounds = 5) {
    for (int i = 0; i < rounds; ++i) {
      platform::DoEvents();
      contract::Pause(10);
    }
  }
  // The events of the kinds asked for since the last call. (A real window
  // gives its focus back to a control as it is activated: the focus is not
  // asked for where that happens.)
  Events Take(std::initializer_list<const char*> kinds) {
    Events taken;
    for (const std::string& e : std::exchange(events, Events()))
      if (std::any_of(kinds.begin(), kinds.end(),
                      [&e](const char* k) { return e.find(k) != e.npos; }))
        taken.push_back(e);
    return taken;
  }
  std::wstring dir;
  Events events;
  Recorder recorder{"main", events, kLayout};
  Recorder helpRecorder{"help", events, kHelpLayout};
  Form form{kLayout, recorder};
  Form help{kHelpLayout, helpRecorder};
};

TEST_F(FormsContract, TextsListsAndTheRoomTheyNeed) {
  EXPECT_FALSE(form.Visible(kFolders)) << "a hidden control starts hidden";
  for (const wchar_t* item : {L"Игра", L"b"}) form.AddItem(kList, item);
  EXPECT_EQ(form.ItemCount(kList), 2);
  EXPECT_EQ(form.ItemText(kList, 0), L"Игра") << "entries keep the order they were added in";
  EXPECT_EQ(form.SelectedIndex(kList), -1);

  // The text box raises one change each time it is set, even to the same
  // text; a label none. A text ends at its first NUL.
  form.SetText(kText, L"line one\r\nline two");
  form.SetText(kText, L"line one\r\nline two");
  form.SetText(kText, std::wstring(L"before\0after", 12));
  form.SetText(kLabel, L"Список & игр");
  EXPECT_EQ(form.Text(kText), L"before");
  EXPECT_EQ(Take({"text"}), Events(3, "main text 4"));

  form.SetText(kOk, L"OK");
  const platform::Extent shortCaption = form.ContentSize(kOk);
  form.SetText(kOk, L"A much longer caption");
  EXPECT_GT(form.ContentSize(kOk).width, shortCaption.width);
  EXPECT_FLOAT_EQ(form.ContentSize(kOk).height, shortCaption.height) << "one line either way";
  form.SetText(kLabel, L"");
  EXPECT_EQ(form.ContentSize(kLabel).width, 0) << "an empty label needs no room";
  EXPECT_EQ(form.ContentSize(kLabel).height, 0);
}

// A box may take a long text in pieces while its window goes on answering:
// the text is whole at once and once all its pieces are in, and what is
// still to come of it is dropped when another text is set.
TEST_F(FormsContract, ALongTextIsHeldWholeWhileItGoesIntoTheBox) {
  std::wstring text;
  for (int line = 0; text.size() < 300000; ++line)
    text += L"Line " + std::to_wstring(line) + L": " + std::wstring(90, L'ж') + L"\r\n";
  form.Show();
  form.SetText(kText, text);
  EXPECT_EQ(Take({"text"}), Events{"main text 4"});
  EXPECT_EQ(form.Text(kText), text);
  form.SetText(kText, L"short");
  Settle(100);
  EXPECT_EQ(form.Text(kText), L"short");
  form.SetText(kText, text);
  Settle(100);
  EXPECT_EQ(form.Text(kText), text);
}

// Keys pressed one after another on the focused control, each seen by the
// window first, and what they raise through the dialog manager.
TEST_F(FormsContract, KeysGoThroughTheDialogManager) {
  for (const wchar_t* item : {L"one", L"two"}) form.AddItem(kList, item);
  form.Show();
  EXPECT_EQ(Take({"activate", "focus"}), (Events{"main activate", "main focus 3"}))
      << "a window's first activation; the first in tab order, as a label cannot take the focus";
  const struct {
    int key, shift;
    Events raised;
  } presses[] = {
      {platform::kKeyDown, 0, {"main select 3"}},    // the first entry
      {platform::kKeyDown, 0, {"main select 3"}},    // the next
      {platform::kKeyReturn, 0, {"main click 0"}},   // the default button
      {platform::kKeyEscape, 0, {"main click 1"}},   // the cancel button
      {platform::kKeyTab, 0, {"main focus 4"}},      // a multi-line text box hands Esc and Enter on
      {platform::kKeyEscape, 0, {"main click 1"}},   // handed on
      {platform::kKeyReturn, 0, {"main click 0"}},   // handed on
      {platform::kKeyF1, platform::kShiftMask, {}},  // for the window alone, with Shift
      {platform::kKeyF1, platform::kCtrlMask, {}},   // and with Ctrl
  };
  for (const auto& p : presses) {
    contract::PressKey(form, p.key, p.shift);
    Events raised = p.raised;
    raised.push_back("main keyup " + std::to_string(p.key) + " " + std::to_string(p.shift));
    EXPECT_EQ(Take({"select", "click", "focus", "keyup"}), raised) << "key " << p.key;
  }
  EXPECT_EQ(form.SelectedIndex(kList), 1);
  form.SetEnabled(kOk, false);
  contract::PressKey(form, platform::kKeyReturn);
  contract::PressKey(form, platform::kKeyTab);  // onto the cancel button: Space presses it
  contract::PressKey(form, platform::kKeySpace);
  EXPECT_EQ(Take({"click"}), Events{"main click 1"}) << "a disabled default button is not pressed";
}

// The help shown over the main window, disabled meanwhile as a window that
// must be dealt with first is shown, and hidden again.
TEST_F(FormsContract, ActivationAndFocusBetweenAWindowAndTheOneItOwns) {
  const auto showHelp = [this] {
    form.SetWindowEnabled(false);
    help.ShowOwned(form);
    Settle();
    EXPECT_EQ(Form::ActiveForm(), &help);
    EXPECT_TRUE(form.IsVisible()) << "the owner stays on screen beneath it";
  };
  help.SetEnabled(kHelpText, false);  // its first control: the focus passes it by
  form.Show();
  Settle();
  events.clear();
  showHelp();
  EXPECT_EQ(Take({"activate", "focus"}), (Events{"main deactivate", "help activate"}));
  form.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &help) << "a disabled owner cannot be activated";
  form.SetWindowEnabled(true);
  EXPECT_EQ(Form::ActiveForm(), &help) << "enabling a window does not activate it";
  help.Hide();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &form) << "hidden, it hands the activation to its owner";
  EXPECT_EQ(Take({"activate"}), (Events{"help deactivate", "main activate"}));

  // The focus goes only to a control that is shown and enabled.
  form.SetFocus(kText);
  form.SetEnabled(kList, false);
  events.clear();
  form.SetFocus(kList);   // disabled
  form.SetFocus(kLabel);  // a label never takes the focus
  form.SetEnabled(kList, true);
  form.SetVisible(kList, false);
  form.SetFocus(kList);  // hidden
  // Tab from the text box: round the buttons and past the hidden list.
  for (int i = 0; i < 4; ++i) contract::PressKey(form, platform::kKeyTab);
  form.SetVisible(kList, true);
  form.SetFocus(kList);
  EXPECT_EQ(Take({"activate", "focus"}), (Events{"main focus 4", "main focus 3"}));

  // Hidden while its owner is still disabled, the help leaves the activation
  // to another program; coming back from there is no activation between the
  // program's own windows either.
  showHelp();
  events.clear();
  help.Hide();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), nullptr);
  form.SetWindowEnabled(true);
  form.Activate();
  Settle();
  EXPECT_EQ(Form::ActiveForm(), &form);
  EXPECT_EQ(Take({"activate"}), Events());
}

// A title changes the title bar alone (a window without a control box has one
// only while it has a title): a window stays shown or hidden, and disabled
// (as the main window is under the read-me) or enabled, as it was.
TEST_F(FormsContract, ATitleChangesTheTitleBarAlone) {
  form.Show();
  const struct {
    Form* window;
    bool enabled;
    const wchar_t* title;
  } cases[] = {
      {&help, false, L"Read me"}, {&help, false, L""},  {&help, true, L"Read me"},
      {&help, true, L""},         {&form, false, L"2"}, {&form, true, L""},
  };
  for (const auto& c : cases) {
    c.window->SetWindowEnabled(c.enabled);
    c.window->SetTitle(c.title);
    EXPECT_EQ(c.window->WindowEnabled(), c.enabled) << std::wstring(c.title);
    EXPECT_EQ(c.window->IsVisible(), c.window == &form) << std::wstring(c.title);
  }
}

// Twips fall on whole pixels, rounded half away from zero: the client area
// and a control as laid out, a rectangle and a size set later. A control's
// size is what lies between its edges, each rounded on its own, so that
// controls that meet in twips never overlap. A window is kept at its
// minimum size.
TEST_F(FormsContract, TwipsFallOnWholePixelsAt96Dpi) {
  ASSERT_FLOAT_EQ(form.PixelSize(), 15) << "these figures are for 96 dots per inch";
  const Form::Rect laid = form.ControlRect(kList);
  form.SetControlRect(kList, {.left = 337.5f, .top = 352.5f, .width = 1507.5f, .height = 600});
  const Form::Rect set = form.ControlRect(kList);
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
      {"height 67.53, bottom 74.2", laid.height, 67},
      {"left 22.5", set.left, 23},
      {"width 100.5, right 123", set.width, 100},
      {"window width 400.5", form.Width(), 401},
      {"window height 299.5", form.Height(), 300},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(c.twips, c.pixels * 15) << c.what;
  recorder.least = {.width = 4000, .height = 3000};
  form.SetSize(1500, 1500);
  EXPECT_NEAR(form.Width(), 4000, 15) << "kept at its minimum size";
  EXPECT_NEAR(form.Height(), 3000, 15);
}

// Which files show a picture and which leave the image empty, where the
// checks before decoding must agree with the system's decoder: cut-off
// pictures, data after the end, a size no picture has, no picture. (Every
// format shown is proven on the real program's screen.)
TEST_F(FormsContract, OnlyCompletePlausiblePicturesShow) {
  const std::string& red = testpictures::kRedJpeg;
  // The red picture with its frame header claiming 60000 x 60000 pixels.
  const std::size_t size = red.find("\xFF\xC0") + 5;
  const std::string huge = red.substr(0, size) + "\xEA\x60\xEA\x60" + red.substr(size + 4);
  const struct {
    const wchar_t* name;
    std::string bytes;
    bool shows;
  } cases[] = {
      {L"red.jpg", red, true},
      {L"trailing 1 MiB.jpg", red + std::string(1 << 20, '\xFF'), true},
      {L"truncated.jpg", red.substr(0, red.size() / 2), false},
      {L"truncated progressive.jpg",
       testpictures::kProgressiveJpeg.substr(0, testpictures::kProgressiveJpeg.size() - 30), false},
      {L"truncated with trailing bytes.jpg", red.substr(0, red.size() / 2) + std::string(300, '\0'),
       false},
      {L"text.jpg", "this is not a picture, only text in a file called .jpg", false},
      {L"empty.jpg", "", false},
      {L"huge.jpg", huge, false},
  };
  for (const auto& c : cases) {
    contract::WriteFile(dir + c.name, c.bytes);
    EXPECT_EQ(form.LoadPicture(kImage, dir + c.name), c.shows) << std::wstring(c.name);
    EXPECT_TRUE(form.LoadPicture(kImage, dir + L"red.jpg"));
  }
  EXPECT_FALSE(form.LoadPicture(kImage, dir + L"missing.jpg"));
}

}  // namespace
