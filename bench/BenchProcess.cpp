#include "BenchProcess.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchDisc.h"

namespace bench {
namespace {

constexpr DWORD kExitWaitMs = 10000;

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

std::wstring ExistingFile(const std::wstring& path) {
  wchar_t full[MAX_PATH];
  const DWORD n = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH || ::GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES)
    return std::wstring();
  return full;
}

RemoveOnExit::~RemoveOnExit() {
  if (!testsupport::RemoveTree(folder)) Say(warning);
}

bool MakeWorkspace(const std::wstring& prefix, Workspace& workspace) {
  if (!workspace.job) {
    Say("error: cannot make a job object for the programs");
    return false;
  }
  const std::wstring scratch = testsupport::MakeScratchFolder(prefix);
  if (scratch.empty()) {
    Say("error: cannot make a scratch folder");
    return false;
  }
  workspace.cleanup.reset(
      new RemoveOnExit{scratch, "warning: could not remove " + Narrow(scratch)});
  return true;
}

std::string Child::Start(HANDLE job, const std::wstring& exe, const std::string& name) {
  const DWORD error = testsupport::Process::Start(job, exe);
  return error ? Format("cannot start %s (error %lu)", name.c_str(), error) : std::string();
}

std::string Child::StartAndWait(HANDLE job, const std::wstring& exe, const std::wstring& title,
                                double deadlineMs, LARGE_INTEGER& started, HWND& window) {
  started = Now();
  std::string error = Start(job, exe, Narrow(exe));
  if (!error.empty()) return error;
  error = WaitForWindow(*this, title, started, deadlineMs, window);
  if (!error.empty()) Close(nullptr);
  return error;
}

void Child::Close(HWND window) {
  if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!window || !WaitForExit(kExitWaitMs)) {
    ::TerminateProcess(Get(), 1);
    WaitForExit(kExitWaitMs);
  }
}

std::string WaitForWindow(const Child& child, const std::wstring& title, LARGE_INTEGER since,
                          double deadlineMs, HWND& window) {
  while (!(window = testsupport::FindDialog(child.pid(), title))) {
    if (child.Gone()) return "the program ended before its window showed";
    if (MsBetween(since, Now()) > deadlineMs) return "no window came";
    ::Sleep(1);
  }
  return std::string();
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

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

bool ParseArguments(int argc, wchar_t** argv, const char* usage, std::size_t paths,
                    std::size_t maxPaths, std::size_t programs, Arguments& args) {
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string named = usage;
  const auto fail = [usage] {
    Say(std::string("usage: ") + usage);
    return false;
  };
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg.rfind(L"--", 0) != 0) {
      args.paths.push_back(arg);
      continue;
    }
    const std::string option = Narrow(arg);
    if (i + 1 >= argc || named.find(option + " ") == std::string::npos) return fail();
    given.push_back(option);
    const std::wstring value = argv[++i];
    const long number = std::wcstol(value.c_str(), nullptr, 10);
    if (option == "--runs") {
      if (number < 1 || number > 1000) return fail();
      args.runs = static_cast<int>(number);
    } else if (option == "--seconds") {
      if (number < 1 || number > 600) return fail();
      args.seconds = static_cast<int>(number);
    } else if (option == "--deadline") {
      if (number < 1 || number > 3600) return fail();
      args.deadline = static_cast<int>(number);
    } else if (option == "--pictures") {
      args.pictures = value;
    } else if (option == "--texts") {
      args.texts = Narrow(value);
    } else if (option == "--games") {
      args.games.clear();
      for (std::size_t at = 0; at <= value.size();) {
        const std::size_t comma = std::min(value.find(L',', at), value.size());
        const long games = std::wcstol(value.substr(at, comma - at).c_str(), nullptr, 10);
        if (games < 1 || games > 1000000) return fail();
        args.games.push_back(static_cast<int>(games));
        at = comma + 1;
      }
    } else {
      return fail();
    }
  }
  // An option outside brackets must be given.
  for (std::size_t at = named.find(" --"); at != std::string::npos;
       at = named.find(" --", at + 1)) {
    const std::string option = named.substr(at + 1, named.find(' ', at + 1) - at - 1);
    if (std::find(given.begin(), given.end(), option) == given.end()) return fail();
  }
  if (args.paths.size() < paths || args.paths.size() > maxPaths) return fail();
  for (std::size_t i = 0; i < programs && i < args.paths.size(); ++i) {
    const std::wstring full = ExistingFile(args.paths[i]);
    if (full.empty()) {
      Say("error: no such program: " + Narrow(args.paths[i]));
      return false;
    }
    args.paths[i] = full;
  }
  return true;
}

}  // namespace bench
