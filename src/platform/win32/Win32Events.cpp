// The event loop: each message goes through the program's forms first (key
// preview, dialog keys), then to its window. Kept apart from the other
// platform calls, so that a program that shows no window (the disc check)
// links none of the window code.
#include "platform/Platform.h"
#include "platform/win32/Win32Internal.h"

namespace platform {
namespace {

// A quit message taken by DoEvents during start-up. The program ends on it
// once its event loop runs; taking it there and then would end start-up
// without a word, and leaving it in the queue would close at once any
// message box start-up shows to say what is wrong with the disc.
bool quitTaken = false;

void Dispatch(MSG& msg) {
  if (win32::PreTranslateFormMessage(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

}  // namespace

void DoEvents() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitTaken = true;
      return;
    }
    Dispatch(msg);
  }
}

void WaitForEvent() { ::WaitMessage(); }

void RunEventLoop() {
  MSG msg;
  while (!quitTaken && ::GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  ExitProgram();
}

}  // namespace platform
