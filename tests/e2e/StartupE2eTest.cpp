// Varnolt.exe started on disc folders under Wine and read from outside, as a
// screen reader reads it: the start-up message, the controls' spoken names
// in the order of Tab, the list, a running screen reader found, and what the
// program file carries. Which rule gives what is the unit tests'; here one
// case proves each is wired to the real system.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"

namespace {

using namespace e2e;

TEST(Startup, AFailedCheckIsShownOverTheWindowThenTheProgramEnds) {
  Disc disc(L"no sounds", "[main]\r\n", {L"G"});
  testsupport::RemoveTree(disc.Root() + L"autorun");
  Program program(disc);
  const HWND box = program.Window(L"ERROR");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(HasIcon(box));
  const HWND main = program.Window(L"Varnolt", 0);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(::GetWindow(box, GW_OWNER), main) << "modal to the main window shown behind it";
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(program.WaitForExit());
}

// The captions come from the control file, in code page 1251; a label names
// the control after it; names outside that code page are listed as they are,
// in Explorer's order.
TEST(Startup, AScreenReaderFindsEachControlNamedInTheOrderOfTab) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string ini = ToCp1251(
      L"[main]\r\ndisk=Звуковые игры\r\nlist=Список игр\r\ndescription=Описание игры\r\n"
      L"install=Установить\r\nclose=Выход\r\nreadme=Справка\r\nHelpButton=2\r\n");
  Disc disc(L"Диск ΩΨ 漢字", ini,
            {L"Game 10", L"Игра 漢字", L"ёж", L"Ёлка", L"Game 2", L"_Test", L"Éclair"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls c = FindMainControls(main);
  const std::vector<std::wstring> games = {L"Звуковые игры", L"_Test", L"Éclair", L"Game 2",
                                           L"Game 10",       L"ёж",    L"Ёлка",   L"Игра 漢字"};
  EXPECT_TRUE(ListItems(c.lsGame) == games);
  // Wine's accessibility runtime names a list box by nothing and gives most
  // controls no role of their own, so the names of the others are asked.
  const std::pair<HWND, const wchar_t*> rows[] = {
      {c.lbGame, L"Список игр"},
      {c.lbDescript, L"Описание игры"},
      {c.edDescript, L"Описание игры"},
      {c.btInstall, L"Установить"},
      {c.btClose, L"Выход"},
      {c.btReadMe, L"Справка"},
      {c.img, L"Скриншот игры"},
  };
  for (const auto& [control, name] : rows) {
    EXPECT_EQ(ToUtf8(SpokenName(control)), ToUtf8(name));
    EXPECT_TRUE(::IsWindowVisible(control)) << ToUtf8(name);
  }
  const std::vector<HWND> tabOrder = {c.lbGame,    c.lsGame,  c.lbDescript, c.edDescript,
                                      c.btInstall, c.btClose, c.btReadMe};
  const std::vector<HWND> children = ChildrenOf(main);
  EXPECT_TRUE(std::equal(tabOrder.begin(), tabOrder.end(), children.begin()))
      << "each label right before what it names, in the order of Tab";
  EXPECT_TRUE(::GetWindowLongW(c.edDescript, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(FocusOf(main), c.lsGame);
  ::CoUninitialize();
}

// A hidden window of the driver's own titled "NVDA" stands for a running
// screen reader, found among the system's windows: nothing is started.
TEST(Startup, NoScreenReaderIsStartedWhenOneRuns) {
  const HWND other = ::CreateWindowExW(0, L"STATIC", L"NVDA", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
  Disc disc(L"reader", "[main]\r\ndisk=D\r\nScreenReader=1\r\n", {L"G"});
  disc.AddFolder(L"nvda");
  disc.AddRecorder(L"nvda\\nvda.exe");
  Program program(disc);
  EXPECT_NE(program.WaitUntilIdle(), nullptr);
  EXPECT_EQ(disc.Recorded(L"nvda\\nvda.exe", 1000), L"");
  ::DestroyWindow(other);
}

}  // namespace
