// The program's entry point on Windows.
#include <objbase.h>

#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"
#include "startup/MainModule.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The disc's folder is the program's folder: no DLL is ever taken from it.
  platform::win32::HardenDllSearch();
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);  // no "insert a disk" boxes
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  // Visual styles for the standard controls come with Common Controls 6,
  // which the manifest selects.
  if (HMODULE comctl = ::LoadLibraryW(L"comctl32.dll")) {
    using InitFn = BOOL(WINAPI*)(const void*);
    struct {
      DWORD size, classes;
    } init = {sizeof init, 0x000000FF /* ICC_WIN95_CLASSES */};
    if (auto initialise = reinterpret_cast<InitFn>(
            reinterpret_cast<void*>(::GetProcAddress(comctl, "InitCommonControlsEx"))))
      initialise(&init);
  }

  MainModule::Main();
  platform::RunEventLoop();
  return 0;
}
