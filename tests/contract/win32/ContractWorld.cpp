#include "ContractWorld.h"

#include <windows.h>

#include <map>

#include "TestSupport.h"
#include "platform/Platform.h"

namespace contract {
namespace {

void SetAttributes(const std::wstring& path, FileAttributes a) {
  const DWORD attributes = (a.hidden ? FILE_ATTRIBUTE_HIDDEN : 0) |
                           (a.system ? FILE_ATTRIBUTE_SYSTEM : 0) |
                           (a.readOnly ? FILE_ATTRIBUTE_READONLY : 0);
  if (attributes != 0) ::SetFileAttributesW(path.c_str(), attributes);
}

std::map<std::wstring, HANDLE> locks;

}  // namespace

std::wstring ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"varnolt-contract\\";
  ::CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring folder = root + name + L"\\";
  testsupport::RemoveTree(folder);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void MakeFolder(const std::wstring& path, FileAttributes attributes) {
  ::CreateDirectoryW(path.c_str(), nullptr);
  SetAttributes(path, attributes);
}

void WriteFile(const std::wstring& path, const std::string& bytes, FileAttributes attributes) {
  if (testsupport::WriteFile(path, bytes)) SetAttributes(path, attributes);
}

std::optional<std::wstring> SystemReadIni(const std::wstring& file, const std::wstring& section,
                                          const std::wstring& key) {
  wchar_t buffer[256];
  const DWORD n =
      ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"0", buffer, 255, file.c_str());
  return std::wstring(buffer, n);
}

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void Lock(const std::wstring& path) {
  locks[path] = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void Unlock(const std::wstring& path) {
  ::CloseHandle(locks[path]);
  locks.erase(path);
}

void Pause(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

// Posted to the focused control as the keyboard would, with Shift and Ctrl
// held in the thread's key state meanwhile.
void PressKey(platform::Form&, int virtualKey, int shift) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = (shift & platform::kShiftMask) ? 0x80 : 0;
  keys[VK_CONTROL] = (shift & platform::kCtrlMask) ? 0x80 : 0;
  ::SetKeyboardState(keys);
  const HWND focus = ::GetFocus();
  ::PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
  platform::DoEvents();
  ::PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(virtualKey),
                 static_cast<LPARAM>(0xC0000001u));
  platform::DoEvents();
  keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
}

}  // namespace contract
