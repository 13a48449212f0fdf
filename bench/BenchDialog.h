// What the programs Varnolt is compared with share: a main window made from
// an in-memory dialog template like Varnolt's, placed and sized as Varnolt
// places its own, and the usual dialog message loop.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/win32/DialogTemplate.h"

namespace bench {

// The style of Varnolt's main window, and its client area in pixels at 96 DPI.
constexpr DWORD kMainWindowStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | DS_SETFONT;
constexpr int kMainClientWidth = 620;
constexpr int kMainClientHeight = 480;

// A window of Varnolt's main window's style and size, made from a template
// like Varnolt's; null when it cannot be made.
inline HWND CreateMainDialog(HINSTANCE instance, const wchar_t* title, DLGPROC proc) {
  const std::vector<WORD> dialog = platform::win32::DialogTemplate(kMainWindowStyle, title);
  return ::CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                      nullptr, proc, 0);
}

// What every such window does with the messages it has no use for of its
// own: it closes when asked and ends the message loop when it is gone.
inline INT_PTR CALLBACK PlainDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CLOSE:
      ::DestroyWindow(hwnd);
      return TRUE;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

// The screen's pixels per inch.
inline int ScreenDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

// Sizes `window` of `style` to a client area of `clientWidth` x
// `clientHeight` pixels at 96 DPI, scaled to `dpi`, centres it in the work
// area, shows it and brings it to the front. Painting is left to the caller.
inline void ShowCentred(HWND window, DWORD style, int clientWidth, int clientHeight, int dpi) {
  RECT outer = {0, 0, ::MulDiv(clientWidth, dpi, 96), ::MulDiv(clientHeight, dpi, 96)};
  ::AdjustWindowRectEx(&outer, style, FALSE, 0);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::SetForegroundWindow(window);
}

// Runs the messages of the thread, the dialog's through IsDialogMessage,
// until WM_QUIT.
inline void RunDialogMessages(HWND dialog) {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(dialog, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace bench
