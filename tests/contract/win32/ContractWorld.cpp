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

std::string Narrow(const std::wstring& s) {
  std::string out(s.size() * 2 + 1, '\0');
  const int n = ::WideCharToMultiByte(CP_ACP, 0, s.c_str(), -1, &out[0],
                                      static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
  return out;
}

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
  char buffer[256];
  const DWORD n = ::GetPrivateProfileStringA(Narrow(section).c_str(), Narrow(key).c_str(), "0",
                                             buffer, 255, Narrow(file).c_str());
  return platform::AnsiToWide(std::string(buffer, n));
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
