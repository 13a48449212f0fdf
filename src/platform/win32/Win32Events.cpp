// The event loop: each message goes through the program's forms first (key
// preview, dialog keys), then to its window. Kept apart from the other
// platform calls, so that a program that shows no window (the disc check)
// links none of the window code.
#include "platform/Platform.h"
#include "platform/win32/Win32Internal.h"

namespace platform {
namespace {

void Dispatch(MSG& msg) {
  if (win32::PreTranslateFormMessage(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

}  // namespace

void DoEvents() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) ExitProgram();
    Dispatch(msg);
  }
}

void WaitForEvent() { ::WaitMessage(); }

void RunEventLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  ExitProgram();
}

}  // namespace platform
