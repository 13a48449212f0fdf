// The program's entry point on Windows.
#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"
#include "startup/MainModule.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::win32::PrepareProcess();
  MainModule::Main();
  platform::RunEventLoop();
  return 0;
}
