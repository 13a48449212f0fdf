// The floor Varnolt's start-up is compared with: a program that only shows an
// empty dialog window of the same kind, style and size as Varnolt's main
// window, and then waits in the usual message loop until it is closed.
#include <windows.h>

#include <vector>

namespace {

constexpr wchar_t kTitle[] = L"Empty window";
constexpr int kClientWidth = 620;  // pixels at 96 DPI, as Varnolt's main window
constexpr int kClientHeight = 480;

// A dialog template with no items, the default dialog font, and the title.
std::vector<WORD> DialogTemplate(DWORD style) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* head = reinterpret_cast<DLGTEMPLATE*>(t.data());
  head->style = style;
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  for (const wchar_t* c = kTitle; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  t.push_back(8);  // point size
  for (const wchar_t* c = L"MS Shell Dlg 2"; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  return t;
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const DWORD style =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | DS_SETFONT;
  const std::vector<WORD> dialog = DialogTemplate(style);
  HWND hwnd = ::CreateDialogIndirectParamW(
      instance, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr, DialogProc, 0);
  if (!hwnd) return 1;

  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  RECT outer = {0, 0, ::MulDiv(kClientWidth, dpi, 96), ::MulDiv(kClientHeight, dpi, 96)};
  ::AdjustWindowRectEx(&outer, style, FALSE, 0);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::SetForegroundWindow(hwnd);
  ::UpdateWindow(hwnd);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(hwnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
