// The main window read back from the screen under Wine as it is resized, at
// 96 to 288 dots per inch, with the visual theme on and off: every control
// is drawn afresh where it lands (a label shows its text, not a bar left
// from what was there before), and at the smallest size the list still
// shows its widest entry whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    const platform::win32::ScopedGdiObject font(::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, 0, 0,
                                                              0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                                              L"MS Shell Dlg 2"));
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

// Every entry of the list fits in it, in the dialog font at `dpi`, after
// the pixel the list leaves before each entry.
void ExpectEntriesWhole(HWND list, int dpi) {
  const platform::win32::ScopedGdiObject font(::CreateFontW(
      -::MulDiv(8, dpi, 72), 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg 2"));
  const HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, font.Get());
  RECT client;
  ::GetClientRect(list, &client);
  for (const std::wstring& entry : ListItems(list)) {
    SIZE text = {};
    ::GetTextExtentPoint32W(dc, entry.c_str(), static_cast<int>(entry.size()), &text);
    EXPECT_LE(text.cx + 1, client.right) << ToUtf8(entry);
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
}

TEST(Resized, EveryControlIsDrawnAfreshWhereItLands) {
  Disc disc(L"repaint",
            ToCp1251(L"[main]\r\ndisk=Пример диска с играми\r\nlist=Список игр\r\n"
                     L"description=Описание\r\ninstall=Установить\r\nclose=Закрыть\r\n"
                     L"readme=Прочти меня\r\nHelpButton=2\r\nScreenReader=0\r\n"),
            {L"Alpha", L"Beta"});
  const struct {
    int dpi;
    bool theme;
  } rows[] = {{96, true}, {96, false}, {144, true}, {288, true}, {288, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + " dpi, theme " + (row.theme ? "on" : "off"));
    SetDpi(static_cast<DWORD>(row.dpi));
    SetTheme(row.theme);
    Program program(disc);
    const HWND main = program.WaitUntilIdle();
    SetDpi(96);
    SetTheme(true);
    ASSERT_NE(main, nullptr);
    RECT outer;
    ::GetWindowRect(main, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    ::SetWindowPos(main, nullptr, 0, 0, width * 3 / 4, height * 3 / 4, SWP_NOMOVE | SWP_NOZORDER);
    ExpectDrawnAfresh(main, row.dpi, "made smaller");
    ::PostMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ExpectDrawnAfresh(main, row.dpi, "maximised");
    ::PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    ExpectDrawnAfresh(main, row.dpi, "restored");
    ::SetWindowPos(main, nullptr, 0, 0, 160, 120, SWP_NOMOVE | SWP_NOZORDER);
    ExpectDrawnAfresh(main, row.dpi, "as small as it goes");
    ExpectEntriesWhole(FindMainControls(main).lsGame, row.dpi);
  }
}

}  // namespace
