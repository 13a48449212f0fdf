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
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "BenchProcess.h"

namespace {

using namespace bench;

constexpr DWORD kRoundTripTimeoutMs = 10000;
constexpr DWORD kDeadlineMs = 30000;
constexpr DWORD kSettleMs = 1000;
constexpr DWORD kExitWaitMs = 10000;
constexpr int kGames = 10;

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
  bench::Child program;
  r.error = program.Start(job, exe, "Varnolt");
  if (!r.error.empty()) return r;
  const HANDLE process = program.process();
  const DWORD pid = program.pid();
  auto fail = [&](const char* why) {
    r.error = why;
    program.Close(nullptr);
    return r;
  };

  HWND window = nullptr, list = nullptr;
  if (!WaitFor(
          [&] {
            window = testsupport::FindDialog(pid, L"Varnolt");
            list = window ? testsupport::FindMainControls(window).lsGame : nullptr;
            LRESULT count = 0;
            return list && bench::Send(list, LB_GETCOUNT, 0, 0, count, kRoundTripTimeoutMs) &&
                   count == kGames + 1;
          },
          process) ||
      !bench::Painted(window, kRoundTripTimeoutMs))
    return fail("the main window never showed its games");
  ::Sleep(kSettleMs);
  r.startUpCpuMs = CpuMs(process);
  r.idleCpuMs = CpuOver(process, seconds * 1000);

  ::PostMessageW(list, WM_KEYDOWN, VK_F1, 0x003B0001);
  ::PostMessageW(list, WM_KEYUP, VK_F1, 0xC03B0001);
  HWND help = nullptr;
  if (!WaitFor(
          [&] {
            help = testsupport::FindDialog(pid, kHelpTitle);
            return help && !::IsWindowEnabled(window);
          },
          process) ||
      !bench::Painted(help, kRoundTripTimeoutMs))
    return fail("the help window never showed");
  ::Sleep(kSettleMs);
  r.helpCpuMs = CpuOver(process, seconds * 1000);

  HWND edit = ::FindWindowExW(help, nullptr, L"Edit", nullptr);
  if (!edit) return fail("the help window has no text box");
  ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageW(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  if (!WaitFor([&] { return !::IsWindowVisible(help) && ::IsWindowEnabled(window); }, process))
    return fail("Escape did not close the help window");
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process, kExitWaitMs) != WAIT_OBJECT_0)
    return fail("Varnolt did not end");
  return r;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Arguments args;
  args.runs = 3;
  if (!bench::ParseArguments(argc, argv, "IdleCpuBench [--runs N] [--seconds S] VARNOLT_EXE", 1, 1,
                             1, args))
    return 2;
  const int runs = args.runs;
  const long seconds = args.seconds;
  const std::wstring& full = args.paths[0];

  bench::Workspace workspace;
  if (!bench::MakeWorkspace(L"varnolt-idle-", workspace)) return 1;
  const std::wstring& scratch = workspace.scratch();
  const HANDLE job = workspace.job.Get();

  const std::wstring root = scratch + L"\\disc";
  std::wstring error;
  const std::string readMe(
      "Read me\r\n\r\nThis disc holds ten games. Choose one in the list, read its "
      "description and press Enter to install it.\r\n");
  const std::wstring exe = root + L"\\Varnolt.exe";
  if (!bench::MakeDisc(root, kGames, error) ||
      !testsupport::WriteFile(root + L"\\read.me.txt", readMe) || !bench::PlaceProgram(full, exe)) {
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
    const RunResult r = RunOnce(job, exe, static_cast<DWORD>(seconds));
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
