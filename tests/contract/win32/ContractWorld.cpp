#include "ContractWorld.h"

#include <windows.h>

#include <map>

#include "TestSupport.h"
#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"

namespace contract {
namespace {

DWORD ToAttributes(FileAttributes a) {
  DWORD attributes = 0;
  if (a.hidden) attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (a.system) attributes |= FILE_ATTRIBUTE_SYSTEM;
  if (a.readOnly) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

using testsupport::RemoveTree;

std::map<std::wstring, HANDLE>& Locks() {
  static std::map<std::wstring, HANDLE> locks;
  return locks;
}

}  // namespace

std::wstring ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"varnolt-contract\\";
  ::CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring folder = root + name + L"\\";
  RemoveTree(folder);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void MakeFolder(const std::wstring& path, FileAttributes attributes) {
  ::CreateDirectoryW(path.c_str(), nullptr);
  if (DWORD a = ToAttributes(attributes)) ::SetFileAttributesW(path.c_str(), a);
}

void WriteFile(const std::wstring& path, const std::string& bytes, FileAttributes attributes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  if (DWORD a = ToAttributes(attributes)) ::SetFileAttributesW(path.c_str(), a);
}

bool HasSystemIniReader() { return true; }

std::wstring SystemReadIni(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) {
  auto narrow = [](const std::wstring& s) {
    const int n = ::WideCharToMultiByte(CP_ACP, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, s.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
    return out;
  };
  char buffer[256];
  const DWORD n = ::GetPrivateProfileStringA(narrow(section).c_str(), narrow(key).c_str(), "0",
                                             buffer, 255, narrow(file).c_str());
  const int wide = ::MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(n), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(wide), L'\0');
  if (wide > 0) ::MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(n), &out[0], wide);
  return out;
}

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void Lock(const std::wstring& path) {
  Locks()[path] = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void PressKey(platform::Form&, int virtualKey, int shift) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  const BYTE saved[3] = {keys[VK_SHIFT], keys[VK_CONTROL], keys[VK_MENU]};
  keys[VK_SHIFT] = (shift & platform::kShiftMask) ? 0x80 : 0;
  keys[VK_CONTROL] = (shift & platform::kCtrlMask) ? 0x80 : 0;
  keys[VK_MENU] = (shift & platform::kAltMask) ? 0x80 : 0;
  ::SetKeyboardState(keys);
  const HWND focus = ::GetFocus();
  const UINT down = (shift & platform::kAltMask) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = (shift & platform::kAltMask) ? WM_SYSKEYUP : WM_KEYUP;
  ::PostMessageW(focus, down, static_cast<WPARAM>(virtualKey), 1);
  platform::DoEvents();
  ::PostMessageW(focus, up, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(0xC0000001u));
  platform::DoEvents();
  keys[VK_SHIFT] = saved[0];
  keys[VK_CONTROL] = saved[1];
  keys[VK_MENU] = saved[2];
  ::SetKeyboardState(keys);
}

void Unlock(const std::wstring& path) {
  ::CloseHandle(Locks()[path]);
  Locks().erase(path);
}

}  // namespace contract
