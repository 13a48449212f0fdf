// The main window's life in the real program under Wine: the read-me in the
// help window, what a user finds when it closes, the title, the layout
// following the window's size.
#include <gtest/gtest.h>

#include "Harness.h"
#include "Version.h"

namespace {

using namespace e2e;

const std::wstring kReadMe = L"Клавиши:\r\nстрелки — выбор игры\r\nEnter — установка";

struct Main {
  HWND window, lsGame, edDescript, btInstall, btClose, btReadMe;
};

Main ViewOf(HWND main) {
  const MainControls c = FindMainControls(main);
  return {main, c.lsGame, c.edDescript, c.btInstall, c.btClose, c.btReadMe};
}

RECT ClientRectOf(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class WindowLife : public ::testing::Test {
 protected:
  void Start(const std::wstring& heading, bool readMe = true) {
    disc_ = std::make_unique<Disc>(
        L"life", ToCp1251(L"[main]\r\ndisk=Диск\r\nhelp=" + heading + L"\r\nHelpButton=2\r\n"),
        std::vector<std::wstring>{L"Alpha", L"Beta"});
    if (readMe) disc_->AddFile(L"read.me.txt", ToCp1251(kReadMe));
    program_ = std::make_unique<Program>(*disc_);
    const HWND main = program_->WaitUntilIdle();
    ASSERT_NE(main, nullptr);
    m_ = ViewOf(main);
    ASSERT_NE(m_.lsGame, nullptr);
  }
  HWND HelpWindow(const std::wstring& title, DWORD timeoutMs = 5000) {
    return program_->WaitForWindow(L"#32770", title, timeoutMs);
  }
  void TearDown() override {
    program_.reset();
    disc_.reset();
  }

  std::unique_ptr<Disc> disc_;
  std::unique_ptr<Program> program_;
  Main m_{};
};

TEST_F(WindowLife, F1ShowsTheReadMeOverADisabledMainWindow) {
  Start(L"О диске");
  TypeKey(m_.window, VK_DOWN);
  TypeKey(m_.window, VK_DOWN);  // Alpha
  ASSERT_TRUE(::IsWindowEnabled(m_.btInstall));
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    TypeKey(m_.window, VK_F1);
    const HWND help = HelpWindow(L"О диске");
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(m_.window)) << "the main window waits for the help window";
    EXPECT_EQ(::GetWindow(help, GW_OWNER), m_.window);
    const LONG style = ::GetWindowLongW(help, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const std::vector<HWND> c = ChildrenOf(help);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(ClassOf(c[0]), L"Static") << "the label that names the text";
    EXPECT_EQ(ClassOf(c[1]), L"Edit") << "the text first in the tab order";
    EXPECT_EQ(ToUtf8(TextOf(c[1])), ToUtf8(kReadMe));
    EXPECT_EQ(TextOf(c[2]), L"OK");
    EXPECT_EQ(FocusOf(help), c[1]);
    RECT client;
    ::GetClientRect(help, &client);
    EXPECT_EQ(client.right, 310);
    EXPECT_EQ(client.bottom, 210);
    RECT h, w;
    ::GetWindowRect(help, &h);
    ::GetWindowRect(m_.window, &w);
    EXPECT_NEAR((h.left + h.right) / 2, (w.left + w.right) / 2, 1) << "centred on the main window";
    TypeKey(help, round == 1 ? VK_RETURN : VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(help) && ::IsWindowVisible(help));
    Settle(m_.window);
    EXPECT_TRUE(::IsWindowEnabled(m_.window));
    EXPECT_EQ(FocusOf(m_.window), m_.lsGame) << "the focus back on the list";
    EXPECT_EQ(::SendMessageW(m_.lsGame, LB_GETCURSEL, 0, 0), 1) << "the selection kept";
    EXPECT_FALSE(::IsWindowEnabled(m_.btInstall)) << "launching waits for the next choice";
    EXPECT_EQ(TextOf(m_.window), L"Varnolt - " VARNOLT_VERSION_TEXT)
        << "the version once in the title";
  }
}

TEST_F(WindowLife, ModifiedF1AndModifiedEscapeDoNothing) {
  Start(L"Справка");
  for (WORD modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
    TypeKey(m_.window, VK_F1, {modifier});
    EXPECT_EQ(HelpWindow(L"Справка", 300), nullptr) << modifier;
  }
  TypeKey(m_.window, VK_F1);
  const HWND help = HelpWindow(L"Справка");
  ASSERT_NE(help, nullptr);
  TypeKey(help, VK_ESCAPE, {VK_SHIFT});
  EXPECT_TRUE(::IsWindowVisible(help)) << "Shift+Esc leaves it open";
  TypeKey(help, VK_ESCAPE);
  EXPECT_FALSE(::IsWindow(help) && ::IsWindowVisible(help));
}

TEST_F(WindowLife, AnEmptyHeadingGivesAHelpWindowWithoutATitleBar) {
  Start(L"");
  ::PostMessageW(m_.btReadMe, BM_CLICK, 0, 0);
  const HWND help = HelpWindow(L"");
  ASSERT_NE(help, nullptr);
  EXPECT_FALSE(::GetWindowLongW(help, GWL_STYLE) & WS_CAPTION);
  RECT client;
  ::GetClientRect(help, &client);
  EXPECT_EQ(client.right, 310);
  TypeKey(help, VK_RETURN);
  EXPECT_TRUE(::IsWindowEnabled(m_.window));
}

TEST_F(WindowLife, WithoutAReadMeF1DoesNothingAndTheFocusStays) {
  Start(L"Справка", false);
  ::SendMessageW(m_.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_.btClose), TRUE);
  TypeKey(m_.window, VK_F1);
  EXPECT_EQ(HelpWindow(L"Справка", 300), nullptr);
  EXPECT_EQ(FocusOf(m_.window), m_.btClose);
  EXPECT_TRUE(::IsWindowEnabled(m_.window));
}

TEST_F(WindowLife, ControlsFollowTheWindowsSizeBeforeAndAfterTheReadMe) {
  Start(L"Справка");
  RECT outer;
  ::GetWindowRect(m_.window, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  const HWND watched[] = {m_.lsGame, m_.btInstall, m_.btClose, m_.btReadMe, m_.edDescript};
  std::vector<RECT> original;
  for (HWND c : watched) original.push_back(ClientRectOf(c));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "before the read-me" : "after the read-me");
    ::SetWindowPos(m_.window, nullptr, 0, 0, 2 * width, height, SWP_NOMOVE | SWP_NOZORDER);
    Settle(m_.window);
    RECT now;
    ::GetWindowRect(m_.window, &now);
    ASSERT_EQ(now.right - now.left, 2 * width);
    for (std::size_t i = 0; i < original.size(); ++i) {
      const RECT r = ClientRectOf(watched[i]);
      EXPECT_NEAR(r.left, 2 * original[i].left, 1) << i;
      EXPECT_NEAR(r.right - r.left, 2 * (original[i].right - original[i].left), 1) << i;
      EXPECT_EQ(r.top, original[i].top) << i;
      EXPECT_EQ(r.bottom - r.top, original[i].bottom - original[i].top) << i;
    }
    for (int k : {3, 7, 2}) {
      ::SetWindowPos(m_.window, nullptr, 0, 0, width * k / 4, height * k / 3,
                     SWP_NOMOVE | SWP_NOZORDER);
      Settle(m_.window);
    }
    ::SetWindowPos(m_.window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    Settle(m_.window);
    for (std::size_t i = 0; i < original.size(); ++i) {
      const RECT r = ClientRectOf(watched[i]);
      EXPECT_TRUE(::EqualRect(&r, &original[i])) << "back on its rectangle: " << i;
    }
    TypeKey(m_.window, VK_F1);
    const HWND help = HelpWindow(L"Справка");
    ASSERT_NE(help, nullptr);
    TypeKey(help, VK_ESCAPE);
  }
}

}  // namespace
