// Where a real window and its controls fall on the screen: the dots per inch
// of the screen that shows it, the frame its style adds, the work area it is
// fitted to and centred in, and its sizes and rectangles in twips.
#include <cmath>

#include "platform/shared/WindowFit.h"
#include "platform/win32/Win32FormImpl.h"

namespace platform {

using win32::DpiOf;

namespace {

RECT OuterRectFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
  RECT r = {.left = 0, .top = 0, .right = clientWidth, .bottom = clientHeight};
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!(adjustForDpi && adjustForDpi(&r, style, FALSE, exStyle, dpi)))
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return r;
}

Area AreaOf(const RECT& r) {
  return {.left = static_cast<float>(r.left),
          .top = static_cast<float>(r.top),
          .width = static_cast<float>(r.right - r.left),
          .height = static_cast<float>(r.bottom - r.top)};
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }
DWORD ExStyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)); }

}  // namespace

namespace win32 {

UINT DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi && hwnd) {
    const UINT dpi = getDpi(hwnd);
    if (dpi) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

RECT WorkAreaOf(HWND window) {
  const HMONITOR monitor =
      window ? ::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
             : ::MonitorFromPoint(POINT{.x = 0, .y = 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info = {.cbSize = sizeof(MONITORINFO), .rcMonitor = {}, .rcWork = {}, .dwFlags = 0};
  if (!::GetMonitorInfoW(monitor, &info))
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return info.rcWork;
}

}  // namespace win32

// A window opens on the screen of the program's active window (the owner of
// a help window), or else on the main screen. Room is left for a title bar
// even where there is none yet: a window may get its title later.
void Form::Impl::FitToWorkArea() {
  const UINT dpi = DpiOf(hwnd);
  const RECT frame = OuterRectFor(0, 0, StyleOf(hwnd) | WS_CAPTION, ExStyleOf(hwnd), dpi);
  const Extent client = {
      .width = static_cast<float>(ScaledPixels(layout.clientWidth, static_cast<int>(dpi), 1)),
      .height = static_cast<float>(ScaledPixels(layout.clientHeight, static_cast<int>(dpi), 1))};
  const HWND active = ::GetActiveWindow();
  workArea = win32::WorkAreaOf(active != hwnd ? active : nullptr);
  const Area frameArea = AreaOf(frame);
  scale =
      FitScale(client, {.width = frameArea.width, .height = frameArea.height}, AreaOf(workArea));
}

SIZE Form::Impl::OuterSize() const {
  const SIZE client = ClientPixels();
  const RECT outer =
      OuterRectFor(client.cx, client.cy, StyleOf(hwnd), ExStyleOf(hwnd), DpiOf(hwnd));
  return {.cx = outer.right - outer.left, .cy = outer.bottom - outer.top};
}

void Form::Impl::CentreOn(const RECT& centre, const RECT& work) {
  const SIZE size = OuterSize();
  const Area w = AreaOf(work), c = AreaOf(centre);
  const float width = static_cast<float>(size.cx), height = static_cast<float>(size.cy);
  ::SetWindowPos(
      hwnd, nullptr,
      static_cast<int>(std::floor(CentredEdge(width, c.left, c.width, w.left, w.width))),
      static_cast<int>(std::floor(CentredEdge(height, c.top, c.height, w.top, w.height))), size.cx,
      size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Width() const {
  RECT r = {};
  ::GetWindowRect(impl_->hwnd, &r);
  return impl_->ToTwips(r.right - r.left);
}

float Form::Height() const {
  RECT r = {};
  ::GetWindowRect(impl_->hwnd, &r);
  return impl_->ToTwips(r.bottom - r.top);
}

void Form::SetSize(float width, float height) {
  ::SetWindowPos(impl_->hwnd, nullptr, 0, 0, impl_->ToPixels(width), impl_->ToPixels(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Extent Form::FrameSize() const {
  RECT outer = {}, client = {};
  ::GetWindowRect(impl_->hwnd, &outer);
  ::GetClientRect(impl_->hwnd, &client);
  return {.width = impl_->ToTwips((outer.right - outer.left) - client.right),
          .height = impl_->ToTwips((outer.bottom - outer.top) - client.bottom)};
}

Extent Form::RoomOnScreen() const {
  const Impl& m = *impl_;
  return {.width = m.ToTwips(m.workArea.right - m.openedAt.x),
          .height = m.ToTwips(m.workArea.bottom - m.openedAt.y)};
}

float Form::PixelSize() const { return impl_->ToTwips(1); }

Form::Rect Form::ControlRect(int control) const {
  const HWND hwnd = impl_->Control(control);
  RECT r = {};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(nullptr, impl_->hwnd, reinterpret_cast<POINT*>(&r), 2);
  return {.left = impl_->ToTwips(r.left),
          .top = impl_->ToTwips(r.top),
          .width = impl_->ToTwips(r.right - r.left),
          .height = impl_->ToTwips(r.bottom - r.top)};
}

// A control is painted whole where it lands. Moved with its old pixels, as
// windows otherwise are, it would show what the screen held at its old place
// the moment it moved: while a window is resized that is often what another
// control, itself still to be moved or painted, left there, and the control
// would not paint over it.
void Form::SetControlRect(int control, const Rect& rect) {
  if (!impl_->IsControl(control)) return;
  const RECT r = impl_->ToPixelRect(rect.left, rect.top, rect.width, rect.height);
  ::SetWindowPos(impl_->Control(control), nullptr, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

}  // namespace platform
