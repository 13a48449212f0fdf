#include "startup/GetAllProcessesModule.h"

namespace GetAllProcessesModule {
namespace {

constexpr int kTitleBuffer = 144;
// A walk over a z-order that changes under it could go round for ever.
constexpr std::int32_t kMaxWindows = 65536;

std::vector<WindowEntry> aWindows;
bool bWindowsCollected = false;

}  // namespace

std::wstring GetWindowTitle(platform::WindowHandle hWnd) {
  if (hWnd == 0) return std::wstring();
  return platform::WindowTitle(hWnd, kTitleBuffer);
}

std::int32_t CollectWindows() {
  aWindows.assign(2, WindowEntry{});
  platform::WindowHandle h = platform::FirstChildWindow(platform::DesktopWindow());
  aWindows[0] = WindowEntry{.tTitle = GetWindowTitle(h), .hWnd = h};
  std::int32_t i = 0;
  do {
    h = platform::NextWindow(h);
    ++i;
    aWindows.resize(static_cast<std::size_t>(i) + 2);
    aWindows[static_cast<std::size_t>(i)] = WindowEntry{.tTitle = GetWindowTitle(h), .hWnd = h};
  } while (h != 0 && i < kMaxWindows);
  bWindowsCollected = true;
  return i;
}

bool WindowExists(const std::wstring& tTitle) {
  if (!bWindowsCollected) return false;
  for (const WindowEntry& entry : aWindows)
    if (entry.tTitle == tTitle) return true;
  return false;
}

void ForgetWindows() {
  aWindows.clear();
  bWindowsCollected = false;
}

}  // namespace GetAllProcessesModule
