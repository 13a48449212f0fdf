// The windows on real screens under Wine, at 96 to 384 dots per inch: they
// fit the work area, their controls fit them, and their captions fit the
// controls; the read-me and the description open at their start; the
// picture follows the window's size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "../common/TestPictures.h"
#include "Harness.h"

namespace {

using namespace e2e;

// The dots per inch of every program started while this lives (Wine reads
// the value when a program starts); the value before is put back after.
class ScopedDpi {
 public:
  explicit ScopedDpi(DWORD dpi) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD size = sizeof before_;
    had_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                              reinterpret_cast<BYTE*>(&before_), &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~ScopedDpi() {
    if (had_)
      Set(before_);
    else
      ::RegDeleteValueW(key_, L"LogPixels");
    ::RegCloseKey(key_);
  }
  ScopedDpi(const ScopedDpi&) = delete;
  ScopedDpi& operator=(const ScopedDpi&) = delete;

 private:
  void Set(DWORD dpi) {
    ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof dpi);
  }
  HKEY key_ = nullptr;
  DWORD before_ = 96;
  bool had_ = false;
};

RECT WindowRect(HWND hwnd) {
  RECT r = {};
  ::GetWindowRect(hwnd, &r);
  return r;
}

RECT WorkAreaOf(HWND hwnd) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

bool IsVisible(HWND control) { return (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

// A picture control that holds no picture shows nothing at all.
bool ShowsNothing(HWND control) {
  return ClassOf(control) == L"Static" &&
         (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP &&
         !::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0);
}

// Every visible control that shows something lies inside the client area.
void ExpectControlsInside(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  for (HWND control : ChildrenOf(window)) {
    if (!IsVisible(control) || ShowsNothing(control)) continue;
    RECT r = WindowRect(control);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(Inside(r, client))
        << ToUtf8(ClassOf(control)) << " \"" << ToUtf8(TextOf(control)) << "\" at " << Describe(r)
        << " outside the client area " << Describe(client);
  }
}

// No caption of a visible button or label is wider than its control,
// measured in the dialog font at the program's dots per inch; nor taller,
// unless the window had to be made smaller than laid out.
void ExpectCaptionsFit(HWND window, int dpi, bool scaledDown) {
  LOGFONTW font = {};
  font.lfHeight = -::MulDiv(8, dpi, 72);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(font.lfFaceName, L"MS Shell Dlg 2");
  HFONT hfont = ::CreateFontIndirectW(&font);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, hfont);
  for (HWND control : ChildrenOf(window)) {
    const std::wstring kind = ClassOf(control);
    if (!IsVisible(control) || (kind != L"Button" && kind != L"Static")) continue;
    if ((::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP && kind == L"Static")
      continue;
    const std::wstring caption = TextOf(control);
    if (caption.empty()) continue;
    SIZE text = {};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    RECT r;
    ::GetClientRect(control, &r);
    EXPECT_LE(text.cx, r.right) << "\"" << ToUtf8(caption) << "\" at " << dpi << " dpi";
    if (!scaledDown) {
      EXPECT_LE(text.cy, r.bottom) << "\"" << ToUtf8(caption) << "\" at " << dpi << " dpi";
    }
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(hfont);
}

struct Selection {
  DWORD start, end;
  LRESULT firstLine;
};

Selection SelectionOf(HWND edit) {
  DWORD start = 0, end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end, ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)};
}

std::wstring Lines(int count, const wchar_t* what) {
  std::wstring text;
  for (int i = 1; i <= count; ++i) text += std::wstring(what) + std::to_wstring(i) + L"\r\n";
  return text;
}

const std::string kIni = ToCp1251(
    L"[main]\r\ndisk=Диск\r\nlist=Список игр\r\ndescription=Описание игры\r\n"
    L"install=Установить\r\nclose=Закрыть\r\nreadme=Прочти меня\r\nhelp=О диске\r\n"
    L"HelpButton=2\r\n");

class OnScreen : public ::testing::Test {
 protected:
  void Start() {
    disc_ = std::make_unique<Disc>(L"screens", kIni, std::vector<std::wstring>{L"Alpha", L"Beta"});
    disc_->AddFile(L"read.me.txt", ToCp1251(Lines(42, L"Строка read-me ")));
    disc_->AddFile(L"games\\Alpha\\descript.ion", ToCp1251(Lines(30, L"Описание, строка ")));
    disc_->AddFile(L"games\\Alpha\\screenshot.jpg", testpictures::kBlueJpeg);
    program_ = std::make_unique<Program>(*disc_);
    main_ = program_->WaitUntilIdle();
    ASSERT_NE(main_, nullptr);
    const MainControls c = FindMainControls(main_);
    ASSERT_TRUE(c.Complete());
    lsGame_ = c.lsGame;
    edDescript_ = c.edDescript;
    img_ = c.img;
  }
  HWND OpenHelp() {
    TypeKey(main_, VK_F1);
    return program_->WaitForWindow(L"#32770", L"О диске");
  }
  void TearDown() override {
    program_.reset();
    disc_.reset();
  }

  std::unique_ptr<Disc> disc_;
  std::unique_ptr<Program> program_;
  HWND main_ = nullptr, lsGame_ = nullptr, edDescript_ = nullptr, img_ = nullptr;
};

class AtDpi : public OnScreen, public ::testing::WithParamInterface<int> {};

TEST_P(AtDpi, TheWindowsFitTheScreenAndTheirControlsFitThem) {
  const int dpi = GetParam();
  std::unique_ptr<ScopedDpi> setting = std::make_unique<ScopedDpi>(dpi);
  Start();
  setting.reset();  // read at the start: the other tests run at the usual setting

  const RECT work = WorkAreaOf(main_);
  const RECT outer = WindowRect(main_);
  RECT client;
  ::GetClientRect(main_, &client);
  const bool scaled = client.right < ::MulDiv(9300, dpi, 1440);
  std::printf("[ screens ] %d dpi: main window %ldx%ld (client %ldx%ld), work area %ldx%ld, %s\n",
              dpi, outer.right - outer.left, outer.bottom - outer.top, client.right, client.bottom,
              work.right - work.left, work.bottom - work.top,
              scaled ? "scaled down to fit" : "as laid out");
  EXPECT_TRUE(Inside(outer, work)) << Describe(outer) << " in " << Describe(work);
  EXPECT_NEAR(client.right * 7200.0 / 9300.0, client.bottom, 1.0) << "the laid-out proportions";
  EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);
  ExpectControlsInside(main_);
  ExpectCaptionsFit(main_, dpi, scaled);

  // Made as small as it goes, the controls still fit and their captions too.
  ::SetWindowPos(main_, nullptr, 0, 0, 160, 120, SWP_NOMOVE | SWP_NOZORDER);
  Settle(main_);
  const RECT least = WindowRect(main_);
  std::printf("[ screens ] %d dpi: smallest main window %ldx%ld\n", dpi, least.right - least.left,
              least.bottom - least.top);
  EXPECT_GT(least.right - least.left, 160);
  EXPECT_GT(least.bottom - least.top, 120);
  ExpectControlsInside(main_);
  ExpectCaptionsFit(main_, dpi, scaled);
  ::SetWindowPos(main_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  Settle(main_);

  const HWND help = OpenHelp();
  ASSERT_NE(help, nullptr);
  const RECT h = WindowRect(help);
  RECT helpClient;
  ::GetClientRect(help, &helpClient);
  const bool helpScaled = helpClient.right < ::MulDiv(4650, dpi, 1440);
  std::printf("[ screens ] %d dpi: help window %ldx%ld (client %ldx%ld), %s\n", dpi,
              h.right - h.left, h.bottom - h.top, helpClient.right, helpClient.bottom,
              helpScaled ? "scaled down to fit" : "as laid out");
  EXPECT_TRUE(Inside(h, work)) << Describe(h) << " in " << Describe(work);
  EXPECT_NEAR((h.left + h.right) / 2, (outer.left + outer.right) / 2, 1) << "over its owner";
  ExpectControlsInside(help);
  ExpectCaptionsFit(help, dpi, helpScaled);
  TypeKey(help, VK_ESCAPE);
}

INSTANTIATE_TEST_SUITE_P(Screens, AtDpi, ::testing::Values(96, 144, 192, 384),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return std::to_string(param.param) + "dpi";
                         });

TEST_F(OnScreen, TheReadMeOpensAtItsStartNamedByItsHeadingAndOpenToTyping) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Start();
  const HWND help = OpenHelp();
  ASSERT_NE(help, nullptr);
  const std::vector<HWND> c = ChildrenOf(help);
  const auto edit =
      std::find_if(c.begin(), c.end(), [](HWND child) { return ClassOf(child) == L"Edit"; });
  ASSERT_NE(edit, c.end());
  const HWND edHelp = *edit;
  EXPECT_EQ(FocusOf(help), edHelp);
  const Selection s = SelectionOf(edHelp);
  EXPECT_EQ(s.start, 0u) << "the caret at the start";
  EXPECT_EQ(s.end, 0u) << "nothing selected";
  EXPECT_EQ(s.firstLine, 0) << "the first line in view";
  EXPECT_FALSE(::GetWindowLongW(edHelp, GWL_STYLE) & ES_READONLY) << "not locked";
  EXPECT_EQ(ToUtf8(SpokenName(edHelp)), ToUtf8(L"О диске"));
  const HWND label = ::GetWindow(edHelp, GW_HWNDPREV);
  EXPECT_EQ(ClassOf(label), L"Static");
  EXPECT_FALSE(IsVisible(label)) << "the label that names it is never seen";
  TypeKey(help, VK_ESCAPE);
  ::CoUninitialize();
}

TEST_F(OnScreen, TheDescriptionIsEnteredAtItsStart) {
  Start();
  TypeKey(main_, VK_DOWN);
  TypeKey(main_, VK_DOWN);  // Alpha
  ASSERT_EQ(FocusOf(main_), lsGame_);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    TypeKey(main_, VK_TAB);
    ASSERT_EQ(FocusOf(main_), edDescript_);
    const Selection s = SelectionOf(edDescript_);
    EXPECT_EQ(s.start, 0u);
    EXPECT_EQ(s.end, 0u);
    EXPECT_EQ(s.firstLine, 0);
    // The user reads on to the end, and leaves backwards.
    TypeKey(main_, VK_END, {VK_CONTROL});
    EXPECT_GT(SelectionOf(edDescript_).start, 0u);
    TypeKey(main_, VK_TAB, {VK_SHIFT});
    ASSERT_EQ(FocusOf(main_), lsGame_);
  }
}

// The bitmap the picture control shows: a new one each time the picture is
// decoded. (Its size cannot be read from another process: under Wine,
// GetObject answers 0 for another process's bitmap.)
struct Picture {
  HBITMAP bitmap;
};

Picture PictureOf(HWND img) {
  return {reinterpret_cast<HBITMAP>(::SendMessageW(img, STM_GETIMAGE, IMAGE_BITMAP, 0))};
}

TEST_F(OnScreen, ThePictureIsDecodedAgainOnceTheSizeSettles) {
  Start();
  TypeKey(main_, VK_DOWN);
  TypeKey(main_, VK_DOWN);  // Alpha, with its picture
  const Picture first = PictureOf(img_);
  ASSERT_NE(first.bitmap, nullptr);
  const RECT outer = WindowRect(main_);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;

  // A drag: the picture stays as it is on every step, and is decoded once at the end.
  ::SendMessageW(main_, WM_ENTERSIZEMOVE, 0, 0);
  for (int step = 1; step <= 5; ++step) {
    ::SetWindowPos(main_, nullptr, 0, 0, width + 40 * step, height + 30 * step,
                   SWP_NOMOVE | SWP_NOZORDER);
    Settle(main_);
    ::Sleep(80);
    Settle(main_);
    EXPECT_EQ(PictureOf(img_).bitmap, first.bitmap) << "not on step " << step;
  }
  ::SendMessageW(main_, WM_EXITSIZEMOVE, 0, 0);
  Settle(main_);
  const Picture dragged = PictureOf(img_);
  EXPECT_NE(dragged.bitmap, first.bitmap) << "decoded again at the end of the drag";
  ::Sleep(500);
  Settle(main_);
  EXPECT_EQ(PictureOf(img_).bitmap, dragged.bitmap) << "once";

  // Maximised and restored, with no drag: a moment after, at the new size.
  for (int show : {SW_MAXIMIZE, SW_RESTORE}) {
    const Picture before = PictureOf(img_);
    ::ShowWindow(main_, show);
    Settle(main_);
    const DWORD start = ::GetTickCount();
    while (PictureOf(img_).bitmap == before.bitmap && ::GetTickCount() - start < 3000) {
      ::Sleep(50);
      Settle(main_);
    }
    const Picture after = PictureOf(img_);
    EXPECT_NE(after.bitmap, before.bitmap) << show;
  }
}

}  // namespace
