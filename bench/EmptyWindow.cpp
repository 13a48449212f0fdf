// The floor Varnolt's start-up is compared with: a program that only shows an
// empty dialog window of the same kind, style and size as Varnolt's main
// window, and then waits in the usual message loop until it is closed.
#include <windows.h>

#include <vector>

#include "BenchDialog.h"

namespace {

constexpr wchar_t kTitle[] = L"Empty window";

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
  const std::vector<WORD> dialog = bench::DialogTemplate(bench::kMainWindowStyle, kTitle);
  HWND hwnd = ::CreateDialogIndirectParamW(
      instance, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr, DialogProc, 0);
  if (!hwnd) return 1;

  bench::ShowCentred(hwnd, bench::kMainWindowStyle, bench::kMainClientWidth,
                     bench::kMainClientHeight, bench::ScreenDpi());
  ::UpdateWindow(hwnd);
  bench::RunDialogMessages(hwnd);
  return 0;
}
