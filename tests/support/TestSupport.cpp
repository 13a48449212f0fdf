#include "TestSupport.h"

#include <algorithm>

namespace testsupport {

Job::Job() : job_(::CreateJobObjectW(nullptr, nullptr)) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job_.Valid() && !::SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation,
                                                 &limits, sizeof limits))
    job_.Reset();
}

DWORD Process::Start(HANDLE job, const std::wstring& exe, const std::wstring& arguments,
                     DWORD flags, HANDLE output, HANDLE input) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  const std::wstring folder = exe.substr(0, exe.rfind(L'\\') + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  const bool redirected = output != nullptr || input != nullptr;
  if (redirected) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, redirected,
                        flags | CREATE_SUSPENDED, nullptr, folder.c_str(), &startup, &info))
    return ::GetLastError();
  process_.Reset(info.hProcess);
  const Handle thread(info.hThread);
  if (!::AssignProcessToJobObject(job, info.hProcess)) {
    const DWORD error = ::GetLastError();
    ::TerminateProcess(info.hProcess, 1);
    return error;
  }
  id_ = info.dwProcessId;
  ::ResumeThread(info.hThread);
  return 0;
}

bool Process::WaitForExit(DWORD timeoutMs) const {
  return process_.Valid() && ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool RemoveTree(const std::wstring& path) {
  const std::wstring folder =
      !path.empty() && path.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
  WIN32_FIND_DATAW data;
  const platform::win32::ScopedFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  for (bool more = find.Valid(); more; more = ::FindNextFileW(find.Get(), &data)) {
    const std::wstring name = data.cFileName, entry = folder + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    ::SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
    const DWORD kind = data.dwFileAttributes;
    if ((kind & FILE_ATTRIBUTE_DIRECTORY) && !(kind & FILE_ATTRIBUTE_REPARSE_POINT))
      RemoveTree(entry);
    else if (kind & FILE_ATTRIBUTE_DIRECTORY)
      ::RemoveDirectoryW(entry.c_str());
    else
      ::DeleteFileW(entry.c_str());
  }
  return ::RemoveDirectoryW(folder.c_str()) ||
         ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::wstring MakeScratchFolder(const std::wstring& prefix) {
  wchar_t temp[MAX_PATH + 1];  // the temporary folder ends in a backslash
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  const std::wstring base = temp + prefix + std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring folder = base + std::to_wstring(attempt);
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return std::wstring();
}

bool WriteFile(const std::wstring& path, const std::string& bytes) {
  const Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
    return std::wstring();
  std::wstring text(length + 1, L'\0');
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_NORMAL, 5000, &length))
    return std::wstring();
  text.resize(std::min<std::size_t>(length, text.size() - 1));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  const int length = ::GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

HWND FindDialog(DWORD processId, const std::wstring& titlePrefix) {
  for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && ::IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
        TextOf(window).compare(0, titlePrefix.size(), titlePrefix) == 0)
      return window;
  }
  return nullptr;
}

MainControls FindMainControls(HWND main) {
  MainControls c;
  for (HWND child : ChildrenOf(main)) {
    const std::wstring kind = ClassOf(child);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    const int id = ::GetDlgCtrlID(child);
    if (kind == L"ListBox" && (style & WS_TABSTOP))
      c.lsGame = child;
    else if (kind == L"Edit")
      c.edDescript = child;
    else if (kind == L"Static" && (style & SS_TYPEMASK) == SS_BITMAP)
      c.img = child;
    else if (kind == L"Button")
      (id == IDOK ? c.btInstall : id == IDCANCEL ? c.btClose : c.btReadMe) = child;
  }
  // A label names the control after it.
  const auto labelBefore = [](HWND control) -> HWND {
    const HWND before = control ? ::GetWindow(control, GW_HWNDPREV) : nullptr;
    return before && ClassOf(before) == L"Static" ? before : nullptr;
  };
  c.lbGame = labelBefore(c.lsGame);
  c.lbDescript = labelBefore(c.edDescript);
  return c;
}

}  // namespace testsupport
