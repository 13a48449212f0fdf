#include "BenchProcess.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchDisc.h"

namespace bench {
namespace {

constexpr DWORD kExitWaitMs = 10000;

struct FindChild {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK PickChild(HWND child, LPARAM param) {
  auto& f = *reinterpret_cast<FindChild*>(param);
  wchar_t name[32];
  if (::GetClassNameW(child, name, 32) && ::_wcsicmp(name, f.className) == 0 &&
      ::IsWindowVisible(child)) {
    f.found = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void Say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return t;
}

double MsBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) / ticksPerMs;
}

std::string SystemName() {
  using WineVersionFn = const char*(CDECL*)();
  const auto wine = reinterpret_cast<WineVersionFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  return wine ? std::string("Wine ") + wine() : std::string("Windows");
}

HANDLE MakeKillOnCloseJob() {
  HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
  if (!job) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    ::CloseHandle(job);
    return nullptr;
  }
  return job;
}

std::wstring ExistingFile(const std::wstring& path) {
  wchar_t full[MAX_PATH];
  const DWORD n = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH || ::GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES)
    return std::wstring();
  return full;
}

RemoveOnExit::~RemoveOnExit() {
  if (!RemoveTree(folder)) Say(warning);
}

std::string MakeWorkspace(const std::wstring& prefix, Workspace& workspace) {
  workspace.job.h = MakeKillOnCloseJob();
  if (!workspace.job.h) return "error: cannot make a job object for the programs";
  const std::wstring scratch = MakeScratchFolder(prefix);
  if (scratch.empty()) return "error: cannot make a scratch folder";
  std::string name;
  for (wchar_t c : scratch) name += c < 128 ? static_cast<char>(c) : '?';
  workspace.cleanup.reset(new RemoveOnExit{scratch, "warning: could not remove " + name});
  return std::string();
}

std::string Child::Start(HANDLE job, const std::wstring& exe, const std::string& name) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &info_))
    return Format("cannot start %s (error %lu)", name.c_str(), ::GetLastError());
  process_.h = info_.hProcess;
  thread_.h = info_.hThread;
  if (!::AssignProcessToJobObject(job, info_.hProcess)) {
    const std::string error =
        Format("cannot put %s into a job (error %lu)", name.c_str(), ::GetLastError());
    ::TerminateProcess(info_.hProcess, 1);
    return error;
  }
  ::ResumeThread(info_.hThread);
  return std::string();
}

bool Child::Gone() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }

void Child::Close(HWND window) {
  if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!window || ::WaitForSingleObject(info_.hProcess, kExitWaitMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(info_.hProcess, 1);
    ::WaitForSingleObject(info_.hProcess, kExitWaitMs);
  }
}

std::string WaitForWindow(const Child& child, const std::wstring& title, LARGE_INTEGER since,
                          double deadlineMs, HWND& window) {
  while (!(window = FindDialogWindow(child.pid(), title))) {
    if (child.Gone()) return "the program ended before its window showed";
    if (MsBetween(since, Now()) > deadlineMs) return "no window came";
    ::Sleep(1);
  }
  return std::string();
}

HWND VisibleChild(HWND window, const wchar_t* className) {
  FindChild f{className, nullptr};
  ::EnumChildWindows(window, PickChild, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
          DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer))
    return false;
  result = static_cast<LRESULT>(answer);
  return true;
}

bool Painted(HWND window, DWORD timeoutMs) {
  LRESULT ignored = 0;
  return Send(window, WM_NULL, 0, 0, ignored, timeoutMs) &&
         Send(window, WM_NULL, 0, 0, ignored, timeoutMs);
}

}  // namespace bench
