// The read-me in the real program under Wine: F1 shows it in the help
// window, which holds the main window disabled until it closes; the focus
// then goes back to the list, wherever it was.
#include <gtest/gtest.h>

#include "Harness.h"

namespace {

using namespace e2e;

TEST(WindowLife, F1ShowsTheReadMeOverADisabledMainWindowThenTheFocusIsOnTheList) {
  const std::wstring readMe = L"Клавиши:\r\nстрелки — выбор игры";
  Disc disc(L"life", ToCp1251(L"[main]\r\ndisk=Диск\r\nhelp=О диске\r\n"), {L"Alpha"});
  disc.AddFile(L"read.me.txt", ToCp1251(readMe));
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls c = FindMainControls(main);
  ::SendMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c.btClose), TRUE);
  // The program reads Shift, Ctrl and Alt from the keyboard.
  for (WORD modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
    TypeKey(main, VK_F1, {modifier});
    EXPECT_EQ(program.WaitForWindow(L"#32770", L"О диске", 300), nullptr) << modifier;
  }
  TypeKey(main, VK_F1);
  const HWND help = program.WaitForWindow(L"#32770", L"О диске", 5000);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(::GetWindow(help, GW_OWNER), main);
  EXPECT_FALSE(::IsWindowEnabled(main));
  const HWND text = FocusOf(help);
  EXPECT_EQ(ClassOf(text), L"Edit");
  EXPECT_EQ(ToUtf8(TextOf(text)), ToUtf8(readMe));
  TypeKey(help, VK_ESCAPE);
  EXPECT_FALSE(::IsWindowVisible(help));
  Settle(main);
  EXPECT_TRUE(::IsWindowEnabled(main));
  EXPECT_EQ(FocusOf(main), c.lsGame);
}

}  // namespace
