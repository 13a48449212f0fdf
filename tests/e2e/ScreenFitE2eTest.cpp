// The windows on real screens under Wine, at 96 to 384 dots per inch: they
// fit the work area, their controls fit them and their captions fit the
// controls; the read-me and the description open at their start; the
// picture follows the window's size; the read-me holds the main window
// disabled until it closes, and the focus then goes back to the list.
#include <gtest/gtest.h>

#include <string>

#include "../common/TestPictures.h"
#include "Harness.h"

namespace {

using namespace e2e;

// Wine reads the setting as a program starts.
void SetDpi(DWORD dpi) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                    sizeof dpi);
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The window inside the work area; every visible control that shows
// something inside the client area; no caption of a button or label wider
// than its control in the dialog font at `dpi`, nor taller unless the window
// was scaled down to fit.
void ExpectFits(HWND window, int dpi, bool scaled) {
  MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT r, client;
  ::GetWindowRect(window, &r);
  ::GetClientRect(window, &client);
  EXPECT_TRUE(Inside(r, monitor.rcWork))
      << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
  const platform::win32::ScopedGdiObject dialogFont(::CreateFontW(
      -::MulDiv(8, dpi, 72), 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg 2"));
  const HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, dialogFont.Get());
  for (HWND control : ChildrenOf(window)) {
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const std::wstring kind = ClassOf(control), caption = TextOf(control);
    const bool picture = kind == L"Static" && (style & SS_TYPEMASK) == SS_BITMAP;
    if (!(style & WS_VISIBLE) ||
        (picture && !::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)))
      continue;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(Inside(r, client)) << ToUtf8(kind) << " \"" << ToUtf8(caption) << "\" at " << r.left
                                   << "," << r.top << "-" << r.right << "," << r.bottom;
    if (picture || caption.empty() || (kind != L"Button" && kind != L"Static")) continue;
    SIZE text = {};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    ::GetClientRect(control, &r);
    EXPECT_LE(text.cx, r.right) << ToUtf8(caption);
    EXPECT_TRUE(scaled || text.cy <= r.bottom) << ToUtf8(caption) << " too tall";
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
}

// The caret before the first character, nothing selected, the first line in view.
void ExpectAtStart(HWND edit) {
  DWORD start = 1, end = 1;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
  EXPECT_EQ(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST(OnScreen, AtEveryDpiTheWindowsFitAndTheReadMeComesAndGoes) {
  Disc disc(
      L"screens",
      ToCp1251(L"[main]\r\ndisk=Диск\r\nlist=Список игр\r\ndescription=Описание игры\r\n"
               L"install=Установить\r\nclose=Закрыть\r\nreadme=Прочти меня\r\nhelp=О диске\r\n"
               L"HelpButton=2\r\n"),
      {L"Alpha", L"Beta"});
  std::string lines;  // more than either box shows
  for (int i = 1; i <= 40; ++i) lines += "Line " + std::to_string(i) + "\r\n";
  disc.AddFile(L"read.me.txt", lines);
  disc.AddFile(L"games\\Alpha\\descript.ion", lines);
  disc.AddFile(L"games\\Alpha\\screenshot.jpg", testpictures::kBlueJpeg);
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const struct {
    int dpi;
    bool scaled;  // the main window made smaller than laid out, to fit the screen
  } rows[] = {{96, false}, {144, false}, {192, false}, {384, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + " dpi");
    SetDpi(static_cast<DWORD>(row.dpi));
    Program program(disc);
    const HWND main = program.WaitUntilIdle();
    SetDpi(96);
    ASSERT_NE(main, nullptr);
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    ::GetMonitorInfoW(::MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT outer, client;
    ::GetWindowRect(main, &outer);
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right < ::MulDiv(9300, row.dpi, 1440), row.scaled) << client.right;
    EXPECT_NEAR(client.right * 7200.0 / 9300.0, client.bottom, 1.0) << "the laid-out proportions";
    EXPECT_NEAR(outer.left + outer.right, work.left + work.right, 2) << "centred";
    EXPECT_NEAR(outer.top + outer.bottom, work.top + work.bottom, 2) << "centred";
    ExpectFits(main, row.dpi, row.scaled);

    // Tabbing into the description, read to its end before, starts it again.
    const MainControls c = FindMainControls(main);
    TypeKey(main, VK_DOWN);
    TypeKey(main, VK_DOWN);  // Alpha, with its picture
    TypeKey(main, VK_TAB);
    TypeKey(main, VK_END, {VK_CONTROL});
    TypeKey(main, VK_TAB, {VK_SHIFT});
    TypeKey(main, VK_TAB);
    EXPECT_EQ(FocusOf(main), c.edDescript);
    ExpectAtStart(c.edDescript);

    // Dragged as small as it goes, it still fits; its picture is decoded again
    // at the end of the drag, and a moment after a change of size without one.
    const auto picture = [&c] { return ::SendMessageW(c.img, STM_GETIMAGE, IMAGE_BITMAP, 0); };
    for (DWORD start = ::GetTickCount(); !picture() && ::GetTickCount() - start < 5000;)
      ::Sleep(20);
    const LRESULT first = picture();
    ASSERT_NE(first, 0) << "Alpha's picture is shown";
    ::SendMessageW(main, WM_ENTERSIZEMOVE, 0, 0);
    ::SetWindowPos(main, nullptr, 0, 0, 160, 120, SWP_NOMOVE | SWP_NOZORDER);
    ::Sleep(400);
    Settle(main);
    EXPECT_EQ(picture(), first) << "not while dragged";
    ::SendMessageW(main, WM_EXITSIZEMOVE, 0, 0);
    for (DWORD start = ::GetTickCount(); picture() == first && ::GetTickCount() - start < 3000;)
      ::Sleep(20);
    const LRESULT dragged = picture();
    EXPECT_NE(dragged, first);
    ExpectFits(main, row.dpi, row.scaled);
    ::SetWindowPos(main, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    for (DWORD start = ::GetTickCount(); picture() == dragged && ::GetTickCount() - start < 3000;)
      ::Sleep(20);
    EXPECT_NE(picture(), dragged);

    // The program reads Shift, Ctrl and Alt from the keyboard: F1 alone shows the read-me.
    for (WORD modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
      TypeKey(main, VK_F1, {modifier});
      EXPECT_EQ(program.Window(L"О диске", 300), nullptr) << modifier;
    }
    TypeKey(main, VK_F1);
    const HWND help = program.Window(L"О диске");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(::GetWindow(help, GW_OWNER), main);
    EXPECT_FALSE(::IsWindowEnabled(main));
    RECT h;
    ::GetWindowRect(help, &h);
    EXPECT_NEAR(h.left + h.right, outer.left + outer.right, 2) << "centred over its owner";
    ExpectFits(help, row.dpi, false);
    const HWND edHelp = FocusOf(help);  // the read-me's text box
    ExpectAtStart(edHelp);
    EXPECT_FALSE(::GetWindowLongW(edHelp, GWL_STYLE) & ES_READONLY) << "open to typing";
    EXPECT_EQ(ToUtf8(SpokenName(edHelp)), ToUtf8(L"О диске"));
    TypeKey(help, VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(help));
    Settle(main);
    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_EQ(FocusOf(main), c.lsGame) << "not on the description it left";
  }
  ::CoUninitialize();
}

}  // namespace
