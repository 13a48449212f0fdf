// What the Win32 pieces of the platform share among themselves.
#pragma once

#include <string>

#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"

namespace platform::win32 {

// Key preview and dialog navigation for a message bound for one of the
// program's windows; true when the message has been handled.
bool PreTranslateFormMessage(MSG& msg);

// The picture file decoded and scaled to exactly width × height pixels;
// null when it is missing, not a picture, incomplete or implausibly large.
// COM must be set up on the calling thread.
ScopedBitmap DecodePicture(const std::wstring& file, int width, int height);

// The bitmap a picture holds, null for an empty one; and the file it shows.
HBITMAP BitmapOf(const Picture& picture);
std::wstring FileOf(const Picture& picture);

// PlaySound's flags for a sound file (null: stop the program's sound).
DWORD SoundFlags(const wchar_t* path, SoundMode mode);

}  // namespace platform::win32
