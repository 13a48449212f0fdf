// The second floor Varnolt's start-up is compared with: Varnolt's own main
// window and nothing else. The same platform code makes it from the same
// layout (the nine controls, their labels, their accessibility annotations),
// in a program with the same manifest, icon and process set-up as
// Varnolt.exe, built the same way; but no logic runs: no control file, no
// sounds, no games listed. It waits in the program's message loop until it
// is asked to close.
#include "mainwindow/MainLayout.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"

namespace {

class Events final : public platform::FormEvents {
 public:
  void OnCloseRequest() override { platform::ExitProgram(); }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::win32::PrepareProcess();
  platform::FormLayout layout = MainLayout::fMainLayout;
  layout.caption = L"Same window";
  Events events;
  platform::Form window(layout, events);
  if (!window.Create()) return 1;
  window.Show();
  platform::RunEventLoop();
  return 0;
}
