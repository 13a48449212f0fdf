// The real platform: files, programs, message boxes, top-level windows and
// the sound call, over the wide Win32 calls. The event loop, which goes
// through the forms, is in Win32Events.cpp.
#include <objbase.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Win32Internal.h"

// After <windows.h>, which the header above brings.
#include <mmsystem.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace platform {
namespace win32 {

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  // The altered search path resolves the DLL's own imports from its folder.
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void HardenDllSearch() {
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");  // older systems: at least drop the current folder
}

bool EnsureCom() {
  static const HRESULT initialised =
      ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // Another part of the thread chose the multi-threaded model first: COM is
  // there all the same.
  return SUCCEEDED(initialised) || initialised == RPC_E_CHANGED_MODE;
}

void PrepareProcess() {
  // The disc's folder is the program's folder: no DLL is ever taken from it.
  HardenDllSearch();
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  EnsureCom();
  // Common Controls is loaded by its bare name, not by its path in the
  // system folder (LoadSystemLibrary): the manifest's activation context
  // redirects the bare name to the side-by-side version 6, which draws the
  // visual styles, while the copy in the system folder is version 5. The
  // DLL search is hardened above, so the bare name can never find a copy
  // on the disc; and loading it here rather than importing it keeps it off
  // the import table, which Windows resolves before any of this runs.
  if (HMODULE comctl = ::LoadLibraryW(L"comctl32.dll")) {
    using InitFn = BOOL(WINAPI*)(const void*);
    struct {
      DWORD size, classes;
    } init = {.size = sizeof init, .classes = 0x000000FF /* ICC_WIN95_CLASSES */};
    if (auto initialise = reinterpret_cast<InitFn>(
            reinterpret_cast<void*>(::GetProcAddress(comctl, "InitCommonControlsEx"))))
      initialise(&init);
  }
}

}  // namespace win32

namespace {

bool IsOrdinary(const WIN32_FIND_DATAW& data) {
  const DWORD notOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  return (data.dwFileAttributes & notOrdinary) == 0;
}

win32::ScopedFind FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  return win32::ScopedFind(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                              FindExSearchNameMatch, nullptr, 0));
}

}  // namespace

namespace {

// Calls `visit` with each ordinary file matching the pattern until it
// returns false.
template <typename Visit>
void ForEachOrdinaryFile(const std::wstring& pattern, Visit visit) {
  if (pattern.empty()) return;
  std::wstring full = pattern;
  if (full.back() == L'\\') full += L'*';
  WIN32_FIND_DATAW data;
  win32::ScopedFind find = FindFirst(full, data);
  if (!find.Valid()) return;
  do {
    if (IsOrdinary(data) && !visit(data.cFileName)) return;
  } while (::FindNextFileW(find.Get(), &data));
}

}  // namespace

std::wstring FindOrdinaryFile(const std::wstring& pattern) {
  std::wstring found;
  ForEachOrdinaryFile(pattern, [&found](const wchar_t* name) {
    found = name;
    return false;
  });
  return found;
}

std::vector<std::wstring> ListOrdinaryFiles(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  ForEachOrdinaryFile(pattern, [&names](const wchar_t* name) {
    names.emplace_back(name);
    return true;
  });
  return names;
}

// Explorer's own comparison. Its library is a KnownDLL, always taken from
// the system folder, so it is imported directly.
int CompareFolderNames(const std::wstring& a, const std::wstring& b) {
  return ::StrCmpLogicalW(a.c_str(), b.c_str());
}

PathKind KindOfPath(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  // The folder itself must be a folder: "x\*" of a file fails differently
  // on different systems.
  if (folder.empty() || KindOfPath(folder) != PathKind::Folder) return false;
  std::wstring pattern = folder;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  win32::ScopedFind find = FindFirst(pattern, data);
  if (!find.Valid()) return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    FolderEntry entry;
    entry.name = name;
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entry.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    entry.reparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    entries.push_back(std::move(entry));
  } while (::FindNextFileW(find.Get(), &data));
  return true;
}

namespace {

win32::ScopedFile OpenForReading(const std::wstring& path) {
  return win32::ScopedFile(::CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

}  // namespace

ReadStatus ReadFileAt(const std::wstring& path, std::uint64_t offset, std::size_t maxBytes,
                      std::string& bytes) {
  win32::ScopedFile file = OpenForReading(path);
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::NotFound
                                                                          : ReadStatus::Failed;
  }
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return ReadStatus::Failed;
  const auto total = static_cast<std::uint64_t>(size.QuadPart);
  const std::uint64_t left = offset < total ? total - offset : 0;
  const std::size_t wanted = left < maxBytes ? static_cast<std::size_t>(left) : maxBytes;
  std::string buffer(wanted, '\0');
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset < total ? offset : total);
  if (!::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) return ReadStatus::Failed;
  std::size_t done = 0;
  while (done < wanted) {
    const DWORD chunk = static_cast<DWORD>(wanted - done < (1u << 30) ? wanted - done : (1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), &buffer[done], chunk, &got, nullptr)) return ReadStatus::Failed;
    if (got == 0) break;  // the file shrank while it was read
    done += got;
  }
  buffer.resize(done);
  bytes.swap(buffer);
  return ReadStatus::Ok;
}

bool FileSize(const std::wstring& path, std::uint64_t& size) {
  win32::ScopedFile file = OpenForReading(path);
  LARGE_INTEGER value;
  if (!file.Valid() || !::GetFileSizeEx(file.Get(), &value) || value.QuadPart < 0) return false;
  size = static_cast<std::uint64_t>(value.QuadPart);
  return true;
}

std::wstring AnsiToWide(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  const int wide = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (wide <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, &text[0], wide);
  return text;
}

std::wstring ExecutableFolder() {
  std::wstring path = win32::ModulePath();
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return std::wstring();
  path.resize(slash);
  if (path.size() == 2 && path[1] == L':') path += L'\\';  // a drive's root
  return path;
}

namespace {

constexpr DWORD kErrorElevationRequired = 740;

// Most installers ask for administrator rights; CreateProcess refuses them,
// the shell starts them through the consent prompt.
std::uint32_t StartElevated(const std::wstring& exePath, int showState) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpFile = exePath.c_str();
  info.nShow = showState;
  if (!::ShellExecuteExW(&info) || !info.hProcess) return 0;  // a declined consent too
  win32::ScopedHandle process(info.hProcess);
  return ::GetProcessId(process.Get());
}

int ShowCommand(ShowState show) {
  return show == ShowState::Minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
}

}  // namespace

std::uint32_t StartProgram(const std::wstring& exePath, ShowState show) {
  if (exePath.empty()) return 0;
  const int showState = ShowCommand(show);
  // The full path is both the program to start and, quoted, its command
  // line: a blank in it can never make the system start something else.
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return ::GetLastError() == kErrorElevationRequired ? StartElevated(exePath, showState) : 0;
  }
  win32::ScopedHandle processHandle(process.hProcess);
  win32::ScopedHandle threadHandle(process.hThread);
  return process.dwProcessId;
}

void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
  const UINT flags = icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION;
  ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | flags);
}

WindowHandle DesktopWindow() { return reinterpret_cast<WindowHandle>(::GetDesktopWindow()); }

WindowHandle FirstChildWindow(WindowHandle parent) {
  return reinterpret_cast<WindowHandle>(::GetWindow(reinterpret_cast<HWND>(parent), GW_CHILD));
}

WindowHandle NextWindow(WindowHandle window) {
  return reinterpret_cast<WindowHandle>(::GetWindow(reinterpret_cast<HWND>(window), GW_HWNDNEXT));
}

std::wstring WindowTitle(WindowHandle window, int maxChars) {
  if (maxChars < 1) return std::wstring();
  std::wstring title(static_cast<std::size_t>(maxChars), L'\0');
  const int length = ::GetWindowTextW(reinterpret_cast<HWND>(window), &title[0], maxChars);
  title.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return title;
}

DWORD win32::SoundFlags(const wchar_t* path, SoundMode mode) {
  // A null name with no flags is the documented way to stop the program's
  // sound; a file is never replaced by the system's default sound.
  if (!path) return 0;
  return SND_FILENAME | SND_NODEFAULT | (mode == SoundMode::Async ? SND_ASYNC : SND_SYNC);
}

bool PlaySoundCall(const wchar_t* path, SoundMode mode) {
  using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
  static const PlaySoundFn play = [] {
    HMODULE winmm = win32::LoadSystemLibrary(L"winmm.dll");
    return winmm ? reinterpret_cast<PlaySoundFn>(
                       reinterpret_cast<void*>(::GetProcAddress(winmm, "PlaySoundW")))
                 : nullptr;
  }();
  return play != nullptr && play(path, nullptr, win32::SoundFlags(path, mode)) != FALSE;
}

Version ProgramVersion() {
  // The fixed part of the version resource follows its key, "VS_VERSION_INFO",
  // on a 32-bit boundary.
  Version version = {.major = 0, .minor = 0, .build = 0, .revision = 0};
  HRSRC found =
      ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  if (!found) return version;
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
  const DWORD size = ::SizeofResource(nullptr, found);
  constexpr DWORD kFixedAt = 40;  // 6 bytes of header, 32 of key, aligned
  if (!data || size < kFixedAt + sizeof(VS_FIXEDFILEINFO)) return version;
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, data + kFixedAt, sizeof fixed);
  if (fixed.dwSignature != 0xFEEF04BD) return version;
  return {.major = static_cast<int>(HIWORD(fixed.dwFileVersionMS)),
          .minor = static_cast<int>(LOWORD(fixed.dwFileVersionMS)),
          .build = static_cast<int>(HIWORD(fixed.dwFileVersionLS)),
          .revision = static_cast<int>(LOWORD(fixed.dwFileVersionLS))};
}

void ExitProgram() { ::ExitProcess(0); }

}  // namespace platform
