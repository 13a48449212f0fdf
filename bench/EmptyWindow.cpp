// The floor Varnolt's start-up is compared with: a program that only shows an
// empty dialog window of the same kind, style and size as Varnolt's main
// window, and then waits in the usual message loop until it is closed.
#include <windows.h>

#include "BenchDialog.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HWND hwnd = bench::CreateMainDialog(instance, L"Empty window", bench::PlainDialogProc);
  if (!hwnd) return 1;

  bench::ShowCentred(hwnd, bench::kMainWindowStyle, bench::kMainClientWidth,
                     bench::kMainClientHeight, bench::ScreenDpi());
  ::UpdateWindow(hwnd);
  bench::RunDialogMessages(hwnd);
  return 0;
}
