// A stand-in for the programs Varnolt starts (screen reader, installers):
// it writes how it was started to "<its own path>.started.txt" and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  wchar_t folder[MAX_PATH] = L"";
  ::GetCurrentDirectoryW(MAX_PATH, folder);

  std::wstring record = L"commandline=" + std::wstring(::GetCommandLineW()) + L"\n";
  record += L"showwindow=" +
            std::to_wstring((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1) +
            L"\n";
  record += L"folder=" + std::wstring(folder) + L"\n";
  record += L"self=" + std::wstring(self) + L"\n";

  const int bytes = ::WideCharToMultiByte(
      CP_UTF8, 0, record.c_str(), static_cast<int>(record.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, record.c_str(), static_cast<int>(record.size()), &utf8[0],
                        bytes, nullptr, nullptr);
  // Written under a temporary name and renamed, so a reader never sees half.
  const std::wstring target = std::wstring(self) + L".started.txt";
  const std::wstring temporary = target + L".tmp";
  HANDLE file =
      ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
  return 0;
}
