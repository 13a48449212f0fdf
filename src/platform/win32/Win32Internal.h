// What the Win32 pieces of the platform share among themselves.
#pragma once

#include "platform/win32/ScopedWin.h"

namespace platform::win32 {

// Key preview and dialog navigation for a message bound for one of the
// program's windows; true when the message has been handled.
bool PreTranslateFormMessage(MSG& msg);

}  // namespace platform::win32
