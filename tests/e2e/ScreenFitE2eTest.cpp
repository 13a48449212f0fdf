// The windows on real screens under Wine, at 96 to 384 dots per inch, with
// the visual theme on and off: they fit the work area, their controls fit
// them and their captions and the list's entries fit the controls; every
// control is drawn afresh where a resize puts it (read back from the
// screen); the read-me and the description open at their start; the picture
// follows the window's size; the read-me holds the main window disabled
// until it closes, and the focus then goes back to the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../common/TestPictures.h"
#include "Harness.h"

namespace {

using namespace e2e;

// Wine reads both as a program starts.
void SetDpi(DWORD dpi) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                    sizeof dpi);
}

void SetTheme(bool on) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", L"ThemeActive",
                    REG_SZ, on ? L"1" : L"0", 2 * sizeof(wchar_t));
}

// The font of the program's windows at `dpi`.
HFONT DialogFont(int dpi) {
  return ::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                       L"MS Shell Dlg 2");
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The window inside the work area; every visible control that shows
// something inside the client area; no caption of a button or label wider
// than its control in the dialog font at `dpi`, nor taller unless the window
// was scaled down to fit; no entry of a list wider either, where `entries`.
void ExpectFits(HWND window, int dpi, bool scaled, bool entries = true) {
  MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT r, client;
  ::GetWindowRect(window, &r);
  ::GetClientRect(window, &client);
  const bool reachesEdge = r.right >= monitor.rcWork.right;
  EXPECT_TRUE(Inside(r, monitor.rcWork))
      << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
  const platform::win32::ScopedGdiObject dialogFont(DialogFont(dpi));
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
    SIZE text = {};
    // Each entry after the pixel the list leaves before it, unless the window
    // reaches the edge of the screen, which wins.
    if (kind == L"ListBox" && entries && !reachesEdge) {
      ::GetClientRect(control, &r);
      for (const std::wstring& entry : ListItems(control)) {
        ::GetTextExtentPoint32W(dc, entry.c_str(), static_cast<int>(entry.size()), &text);
        EXPECT_LE(text.cx + 1, r.right) << ToUtf8(entry);
      }
    }
    if (picture || caption.empty() || (kind != L"Button" && kind != L"Static")) continue;
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    ::GetClientRect(control, &r);
    EXPECT_LE(text.cx, r.right) << ToUtf8(caption);
    EXPECT_TRUE(scaled || text.cy <= r.bottom) << ToUtf8(caption) << " too tall";
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
}

// A picture's pixels, top row first, as 0xRRGGBB.
struct Pixels {
  int width = 0, height = 0;
  std::vector<DWORD> bits;
  // How many pixels differ; all of them when the sizes do.
  std::size_t Differ(const Pixels& other) const {
    if (width != other.width || height != other.height) return bits.size() + 1;
    std::size_t n = 0;
    for (std::size_t i = 0; i < bits.size(); ++i)
      n += (bits[i] & 0xFFFFFF) != (other.bits[i] & 0xFFFFFF);
    return n;
  }
};

// What `paint` draws on a picture of `width` × `height`.
template <class Paint>
Pixels Render(int width, int height, Paint paint) {
  Pixels p{width, height, {}};
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const platform::win32::ScopedGdiObject bitmap(
      ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (dc && bitmap.Valid() && width > 0 && height > 0) {
    const HGDIOBJ old = ::SelectObject(dc, bitmap.Get());
    paint(dc);
    ::GdiFlush();
    p.bits.assign(static_cast<const DWORD*>(bits),
                  static_cast<const DWORD*>(bits) + static_cast<std::size_t>(width) * height);
    ::SelectObject(dc, old);
  }
  ::DeleteDC(dc);
  return p;
}

// A window's client area on the screen: its rectangle in screen pixels.
RECT ClientOnScreen(HWND window) {
  RECT r;
  ::GetClientRect(window, &r);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The window's client area as the screen shows it.
Pixels OnScreen(HWND window) {
  const RECT r = ClientOnScreen(window);
  return Render(r.right - r.left, r.bottom - r.top, [&r](HDC dc) {
    const HDC screen = ::GetDC(nullptr);
    ::BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
  });
}

// The window on the screen once it stays the same for a moment: the X
// server shows what a window painted some time later on a busy machine.
Pixels Steady(HWND window) {
  Settle(window);
  // What waits to be painted is painted now (what a control kept from
  // before it moved does not wait).
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pixels last = OnScreen(window);
  for (int i = 0; i < 30; ++i) {
    ::Sleep(100);
    Pixels now = OnScreen(window);
    if (now.Differ(last) == 0) return now;
    last = std::move(now);
  }
  return last;
}

// The part of a picture of `window`'s client area that `control` covers.
Pixels PartOf(const Pixels& whole, HWND window, HWND control) {
  const RECT w = ClientOnScreen(window);
  RECT r;
  ::GetWindowRect(control, &r);
  Pixels part{r.right - r.left, r.bottom - r.top, {}};
  for (int y = r.top - w.top; y < r.bottom - w.top; ++y)
    for (int x = r.left - w.left; x < r.right - w.left; ++x)
      part.bits.push_back(x >= 0 && y >= 0 && x < whole.width && y < whole.height
                              ? whole.bits[static_cast<std::size_t>(y) * whole.width + x]
                              : 0xFF000000);
  return part;
}

// A label as it must look: its text from the top left, in the dialog font
// at `dpi`, in the window-text colour on the window colour.
Pixels LabelDrawn(HWND label, int dpi) {
  RECT r;
  ::GetClientRect(label, &r);
  const std::wstring text = TextOf(label);
  return Render(r.right, r.bottom, [&](HDC dc) {
    const platform::win32::ScopedGdiObject font(DialogFont(dpi));
    const HGDIOBJ old = ::SelectObject(dc, font.Get());
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    RECT box = r;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
    ::SelectObject(dc, old);
  });
}

// Each label shows its text; every other visible control looks as it does
// once the whole window is made to paint itself again.
void ExpectDrawnAfresh(HWND main, int dpi, const char* step) {
  SCOPED_TRACE(step);
  const Pixels seen = Steady(main);
  ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  const Pixels again = Steady(main);
  for (HWND control : ChildrenOf(main)) {
    if (!::IsWindowVisible(control)) continue;
    const std::string what = ToUtf8(ClassOf(control) + L" \"" + TextOf(control) + L"\"");
    const Pixels before = PartOf(seen, main, control);
    if (ClassOf(control) == L"Static" &&
        (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT)
      EXPECT_EQ(before.Differ(LabelDrawn(control, dpi)), 0u)
          << what << ": pixels of " << before.bits.size() << " unlike its text";
    else
      EXPECT_EQ(before.Differ(PartOf(again, main, control)), 0u)
          << what << ": pixels of " << before.bits.size() << " that change when painted again";
  }
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
      ToCp1251(L"[main]\r\ndisk=Пример диска с играми\r\nlist=Список игр\r\ndescription=Описание "
               L"игры\r\n"
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
    bool theme;
    bool scaled;  // the main window made smaller than laid out, to fit the screen
  } rows[] = {{96, true, false}, {96, false, false}, {144, true, false}, {192, true, false},
              {288, true, true}, {288, false, true}, {384, true, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + " dpi, theme " + (row.theme ? "on" : "off"));
    SetDpi(static_cast<DWORD>(row.dpi));
    SetTheme(row.theme);
    Program program(disc);
    const HWND main = program.WaitUntilIdle();
    SetDpi(96);
    SetTheme(true);
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
    ExpectFits(main, row.dpi, row.scaled, !row.scaled);  // scaled, it may cut them

    const MainControls c = FindMainControls(main);
    TypeKey(main, VK_DOWN);
    TypeKey(main, VK_DOWN);  // Alpha, with its picture
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;

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
    ExpectDrawnAfresh(main, row.dpi, "as small as it goes");
    ::PostMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    for (DWORD start = ::GetTickCount(); picture() == dragged && ::GetTickCount() - start < 3000;)
      ::Sleep(20);
    EXPECT_NE(picture(), dragged);
    ExpectDrawnAfresh(main, row.dpi, "maximised");
    ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    ExpectDrawnAfresh(main, row.dpi, "restored");
    ::SetWindowPos(main, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    ExpectDrawnAfresh(main, row.dpi, "made larger");
    ::SetWindowPos(main, nullptr, 0, 0, width * 7 / 8, height * 7 / 8, SWP_NOMOVE | SWP_NOZORDER);
    ExpectDrawnAfresh(main, row.dpi, "made smaller");
    ::GetWindowRect(main, &outer);

    // Tabbing into the description, read to its end before, starts it again.
    TypeKey(main, VK_TAB);
    TypeKey(main, VK_END, {VK_CONTROL});
    TypeKey(main, VK_TAB, {VK_SHIFT});
    TypeKey(main, VK_TAB);
    EXPECT_EQ(FocusOf(main), c.edDescript);
    ExpectAtStart(c.edDescript);

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
    FocusWatch watch;
    TypeKey(help, VK_ESCAPE);
    EXPECT_FALSE(::IsWindowVisible(help));
    Settle(main);
    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_EQ(FocusOf(main), c.lsGame) << "not on the description it left";
    // Straight there: a screen reader would speak each control on the way.
    const std::vector<HWND> seen = watch.Seen();
    ASSERT_FALSE(seen.empty()) << "no focus event seen";
    EXPECT_EQ(std::vector<HWND>(seen.end() - 1, seen.end()), std::vector<HWND>{c.lsGame});
    EXPECT_EQ(std::count(seen.begin(), seen.end(), c.edDescript), 0) << seen.size() << " events";
    EXPECT_EQ(std::count(seen.begin(), seen.end(), main), 0) << seen.size() << " events";
  }
  ::CoUninitialize();
}

}  // namespace
