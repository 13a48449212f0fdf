// A stand-in for the programs Varnolt starts (screen reader, installers): it
// writes how it was started, its show state, a blank and its command line in
// UTF-16, to "<its own path>.started.txt" and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  STARTUPINFOW startup = {};
  ::GetStartupInfoW(&startup);
  const int shown = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::wstring record = std::to_wstring(shown) + L" " + ::GetCommandLineW();
  // Written under a temporary name and renamed, so a reader never sees half.
  const std::wstring target = std::wstring(self) + L".started.txt", temporary = target + L".tmp";
  HANDLE file =
      ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
              nullptr);
  ::CloseHandle(file);
  return ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
