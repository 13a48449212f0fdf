// The screen-reader check: the titles of all top-level windows, visible or
// not, and whether one of them is exactly a given title.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace GetAllProcessesModule {

struct WindowEntry {
  std::wstring tTitle;
  platform::WindowHandle hWnd = 0;
};

// The window's title, cut to 143 characters; "" for a zero or stale handle.
std::wstring GetWindowTitle(platform::WindowHandle hWnd);

// Walks the top-level windows from the topmost one and rebuilds the table:
// one entry per window, then two empty entries. Returns the window count.
std::int32_t CollectWindows();

// True when a collected window has exactly this title (case counts); false
// for every title before the first collection.
bool WindowExists(const std::wstring& tTitle);

// Empties the table and forgets that it was ever filled.
void ForgetWindows();

}  // namespace GetAllProcessesModule
