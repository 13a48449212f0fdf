// How much processor time Varnolt takes while it only waits: first with its
// main window open and nothing happening, then with its help window (the
// read-me) open over it. A program that waits for its messages should take
// next to none in either case.
//
//   IdleCpuBench [--runs N] [--seconds S] VARNOLT_EXE
//
// Each run starts Varnolt afresh on a disc of ten games with a read-me, waits
// until its list is filled and painted, and lets it settle for a second. It
// then reads the process's user and kernel time (GetProcessTimes) at the
// start and the end of S seconds of waiting. Next it opens the help window
// with F1 posted to the list, waits until that window shows and has
// painted, settles, and measures S seconds again. Escape closes the help
// window, WM_CLOSE the program.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchDisc.h"

namespace {

constexpr DWORD kRoundTripTimeoutMs = 10000;
constexpr DWORD kDeadlineMs = 30000;
constexpr DWORD kSettleMs = 1000;
constexpr DWORD kExitWaitMs = 10000;
constexpr int kGames = 10;
constexpr wchar_t kHelpTitle[] = L"Справка";  // the help key of the disc's autorun.ini

void Say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

struct Handle {
  HANDLE h = nullptr;
  Handle() = default;
  explicit Handle(HANDLE value) : h(value) {}
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
};

bool RoundTrip(HWND window, UINT message, LRESULT& result) {
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, kRoundTripTimeoutMs, &answer))
    return false;
  result = static_cast<LRESULT>(answer);
  return true;
}

bool Painted(HWND window) {
  LRESULT ignored = 0;
  return RoundTrip(window, WM_NULL, ignored) && RoundTrip(window, WM_NULL, ignored);
}

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

HWND VisibleChild(HWND window, const wchar_t* className) {
  FindChild f{className, nullptr};
  ::EnumChildWindows(window, PickChild, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// User and kernel time together, in milliseconds.
double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

double CpuOver(HANDLE process, DWORD ms) {
  const double from = CpuMs(process);
  ::Sleep(ms);
  return CpuMs(process) - from;
}

template <typename Condition>
bool WaitFor(Condition condition, HANDLE process) {
  const ULONGLONG until = ::GetTickCount64() + kDeadlineMs;
  while (!condition()) {
    if (::GetTickCount64() > until || ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
      return false;
    ::Sleep(1);
  }
  return true;
}

struct RunResult {
  double startUpCpuMs = 0, idleCpuMs = 0, helpCpuMs = 0;
  std::string error;
};

RunResult RunOnce(HANDLE job, const std::wstring& exe, DWORD seconds) {
  RunResult r;
  std::wstring commandLine = L"\"" + exe + L"\"";
  const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &process)) {
    r.error = Format("cannot start Varnolt (error %lu)", ::GetLastError());
    return r;
  }
  Handle processHandle(process.hProcess), threadHandle(process.hThread);
  if (!::AssignProcessToJobObject(job, process.hProcess)) {
    r.error = Format("cannot put Varnolt into a job (error %lu)", ::GetLastError());
    ::TerminateProcess(process.hProcess, 1);
    return r;
  }
  ::ResumeThread(process.hThread);
  const DWORD pid = process.dwProcessId;
  auto fail = [&](const char* why) {
    r.error = why;
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, kExitWaitMs);
    return r;
  };

  HWND window = nullptr, list = nullptr;
  if (!WaitFor(
          [&] {
            window = bench::FindDialogWindow(pid, L"Varnolt");
            list = window ? VisibleChild(window, L"ListBox") : nullptr;
            LRESULT count = 0;
            return list && RoundTrip(list, LB_GETCOUNT, count) && count == kGames + 1;
          },
          process.hProcess) ||
      !Painted(window))
    return fail("the main window never showed its games");
  ::Sleep(kSettleMs);
  r.startUpCpuMs = CpuMs(process.hProcess);
  r.idleCpuMs = CpuOver(process.hProcess, seconds * 1000);

  ::PostMessageW(list, WM_KEYDOWN, VK_F1, 0x003B0001);
  ::PostMessageW(list, WM_KEYUP, VK_F1, 0xC03B0001);
  HWND help = nullptr;
  if (!WaitFor(
          [&] {
            help = bench::FindDialogWindow(pid, kHelpTitle);
            return help && !::IsWindowEnabled(window);
          },
          process.hProcess) ||
      !Painted(help))
    return fail("the help window never showed");
  ::Sleep(kSettleMs);
  r.helpCpuMs = CpuOver(process.hProcess, seconds * 1000);

  HWND edit = VisibleChild(help, L"Edit");
  if (!edit) return fail("the help window has no text box");
  ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageW(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  if (!WaitFor([&] { return !::IsWindowVisible(help) && ::IsWindowEnabled(window); },
               process.hProcess))
    return fail("Escape did not close the help window");
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.hProcess, kExitWaitMs) != WAIT_OBJECT_0)
    return fail("Varnolt did not end");
  return r;
}

int Usage() {
  Say("usage: IdleCpuBench [--runs N] [--seconds S] VARNOLT_EXE");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  int runs = 3;
  long seconds = 5;
  std::wstring program;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--runs" && i + 1 < argc) {
      runs = std::wcstol(argv[++i], nullptr, 10);
      if (runs < 1 || runs > 100) return Usage();
    } else if (arg == L"--seconds" && i + 1 < argc) {
      seconds = std::wcstol(argv[++i], nullptr, 10);
      if (seconds < 1 || seconds > 600) return Usage();
    } else if (arg.rfind(L"--", 0) == 0 || !program.empty()) {
      return Usage();
    } else {
      program = arg;
    }
  }
  if (program.empty()) return Usage();
  wchar_t full[MAX_PATH];
  const DWORD n = ::GetFullPathNameW(program.c_str(), MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH || ::GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES) {
    Say("error: no such program");
    return 1;
  }

  Handle job(::CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!job.h || !::SetInformationJobObject(job.h, JobObjectExtendedLimitInformation, &limits,
                                           sizeof limits)) {
    Say("error: cannot make a job object for Varnolt");
    return 1;
  }
  const std::wstring scratch = bench::MakeScratchFolder(L"varnolt-idle-");
  if (scratch.empty()) {
    Say("error: cannot make a scratch folder");
    return 1;
  }
  struct Cleanup {
    std::wstring folder;
    ~Cleanup() {
      if (!bench::RemoveTree(folder)) Say("warning: could not remove the scratch folder");
    }
  } cleanup{scratch};

  const std::wstring root = scratch + L"\\disc";
  std::wstring error;
  const std::string readMe(
      "Read me\r\n\r\nThis disc holds ten games. Choose one in the list, read its "
      "description and press Enter to install it.\r\n");
  const std::wstring exe = root + L"\\Varnolt.exe";
  if (!bench::MakeDisc(root, kGames, error) ||
      !bench::WriteNewFile(root + L"\\read.me.txt", readMe.data(), readMe.size()) ||
      !(::CreateHardLinkW(exe.c_str(), full, nullptr) || ::CopyFileW(full, exe.c_str(), TRUE))) {
    Say("error: cannot make the disc");
    return 1;
  }

  Say(
      Format("Varnolt's processor time (user + kernel) while waiting, ms per %ld s; %d runs, "
             "a fresh process each",
             seconds, runs));
  Say(Format("%-6s %14s %14s %18s", "run", "start-up", "idle", "help window open"));
  std::vector<double> idle, help;
  for (int run = 1; run <= runs; ++run) {
    const RunResult r = RunOnce(job.h, exe, static_cast<DWORD>(seconds));
    if (!r.error.empty()) {
      Say("error: " + r.error);
      return 1;
    }
    idle.push_back(r.idleCpuMs);
    help.push_back(r.helpCpuMs);
    Say(Format("%-6d %14.1f %14.1f %18.1f", run, r.startUpCpuMs, r.idleCpuMs, r.helpCpuMs));
  }
  Say(Format("%-6s %14s %14.1f %18.1f", "median", "", bench::Summarise(idle).median,
             bench::Summarise(help).median));
  Say("(start-up: the processor time from the start until a second after the window was ready, "
      "for scale)");
  return 0;
}
