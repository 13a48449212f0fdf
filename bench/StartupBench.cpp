// How long Varnolt takes from being started to showing a filled, painted
// list of games, next to two floors: a program that shows just an empty
// window of the same kind (EmptyWindow), and one that shows Varnolt's own
// window, with its nine controls, manifest and accessibility set-up, but
// runs none of its logic (SameWindow). Measured from outside: the program
// has no switch that would tell when it is ready.
//
//   StartupBench [--runs N] [--games N,N,...] VARNOLT_EXE EMPTY_WINDOW_EXE SAME_WINDOW_EXE
//                [OTHER_EXE...]
//
// Further builds of Varnolt given after the floors are measured in the
// same rounds, for comparing a change with the program as it was: on a busy
// machine only runs taken side by side compare fairly.
//
// Ready means: the program's visible top-level window whose title starts
// as expected exists (Varnolt adds its version once active); for Varnolt,
// its visible list box holds one entry for the disc and one per game; then
// two WM_NULL round trips to the window have returned. A thread takes paint
// messages only when nothing else waits, so by the time the second round
// trip returns, the paint that was pending when the first returned has been
// done.
//
// Resolution: the window is sought every Sleep(1) (about a millisecond,
// measured and printed); the list count and the round trips are blocking
// calls that return as soon as the program answers, so they add no polling
// delay. Times come from QueryPerformanceCounter.
#include <windows.h>

#include <algorithm>
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
constexpr double kRunDeadlineMs = 30000;

// What is started and how it shows that it is ready.
struct Target {
  std::string label;
  std::wstring exe;
  std::wstring title;  // how the window's title starts
  int listCount = -1;  // entries the visible list box must hold, -1: no list
  std::vector<double> filled, ready;
};

struct RunResult {
  double filledMs = 0;
  double readyMs = 0;
  std::string error;  // empty when the run went through
};

RunResult RunOnce(HANDLE job, const Target& target) {
  RunResult r;
  bench::Child program;
  LARGE_INTEGER start;
  HWND window = nullptr;
  r.error = program.StartAndWait(job, target.exe, target.title, kRunDeadlineMs, start, window);
  if (!r.error.empty()) return r;

  if (target.listCount >= 0) {
    HWND list = nullptr;
    LRESULT count = -1;
    for (;;) {
      if (!list) list = testsupport::FindMainControls(window).lsGame;
      if (list && bench::Send(list, LB_GETCOUNT, 0, 0, count, kRoundTripTimeoutMs) &&
          count == target.listCount)
        break;
      if (program.Gone() || MsBetween(start, Now()) > kRunDeadlineMs) {
        r.error = Format("the list never held %d entries (last count %ld)", target.listCount,
                         static_cast<long>(count));
        program.Close(window);
        return r;
      }
      // The count is asked again at once: the next answer comes only when
      // the program next looks at its messages, after the fill.
      ::Sleep(list ? 0 : 1);
    }
  }
  r.filledMs = MsBetween(start, Now());

  if (!bench::Painted(window, kRoundTripTimeoutMs)) {
    r.error = "the window did not answer";
    program.Close(window);
    return r;
  }
  r.readyMs = MsBetween(start, Now());
  program.Close(window);
  return r;
}

double SleepOneMs() {
  const LARGE_INTEGER from = Now();
  constexpr int kTimes = 50;
  for (int i = 0; i < kTimes; ++i) ::Sleep(1);
  return MsBetween(from, Now()) / kTimes;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

std::string Row(int width, const std::string& label, const bench::Summary* filled,
                const bench::Summary& ready, double toEmpty, double toSame, double minToSame) {
  std::string line = Format("%-*s", width, label.c_str());
  line +=
      filled ? Format("%10.1f %9.1f", filled->median, filled->min) : Format("%10s %9s", "-", "-");
  line += Format("%12.1f %9.1f %10.2f %10.3f %10.3f", ready.median, ready.min, toEmpty, toSame,
                 minToSame);
  return line;
}

// A floor's program, placed as NAME.exe in a folder NAME of the scratch
// folder; its window's title starts with `title`.
bool PlaceFloor(const std::wstring& scratch, const std::wstring& program, const char* label,
                const wchar_t* name, const wchar_t* title, std::vector<Target>& targets) {
  Target floor;
  floor.label = label;
  const std::wstring folder = scratch + L"\\" + name;
  floor.exe = folder + L"\\" + name + L".exe";
  floor.title = title;
  if (!::CreateDirectoryW(folder.c_str(), nullptr) || !bench::PlaceProgram(program, floor.exe)) {
    Say(std::string("error: cannot place the program of the ") + label);
    return false;
  }
  targets.push_back(std::move(floor));
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Arguments args;
  args.runs = 7;
  args.games = {10, 1000, 10000};
  if (!bench::ParseArguments(
          argc, argv,
          "StartupBench [--runs N] [--games N,N,...] VARNOLT_EXE EMPTY_WINDOW_EXE "
          "SAME_WINDOW_EXE [OTHER_VARNOLT_EXE...]",
          3, 100, 100, args))
    return 2;
  const int runs = args.runs;
  const std::vector<int>& gameCounts = args.games;
  const std::vector<std::wstring>& programs = args.paths;

  bench::Workspace workspace;
  if (!bench::MakeWorkspace(L"varnolt-bench-", workspace)) return 1;
  const std::wstring& scratch = workspace.scratch();
  const HANDLE job = workspace.job.Get();

  // Every disc is made before the first measurement.
  std::vector<Target> targets;
  const LARGE_INTEGER making = Now();
  if (!PlaceFloor(scratch, programs[1], "empty window", L"EmptyWindow", L"Empty window", targets) ||
      !PlaceFloor(scratch, programs[2], "same window", L"SameWindow", L"Same window", targets))
    return 1;
  // Every build sits in the root of every disc under its own file name.
  std::vector<std::wstring> builds(programs.begin(), programs.end());
  builds.erase(builds.begin() + 1, builds.begin() + 3);
  for (std::size_t b = 1; b < builds.size(); ++b) {
    for (std::size_t a = 0; a < b; ++a) {
      if (::_wcsicmp(FileName(builds[a]).c_str(), FileName(builds[b]).c_str()) == 0) {
        Say("error: the builds to compare need different file names");
        return 1;
      }
    }
  }
  for (int games : gameCounts) {
    const std::wstring root = scratch + L"\\disc-" + std::to_wstring(games);
    std::wstring error;
    if (!bench::MakeDisc(root, games, error)) {
      Say("error: " + Narrow(error));
      return 1;
    }
    for (const std::wstring& build : builds) {
      Target disc;
      disc.label = std::to_string(games);
      if (builds.size() > 1) disc.label = Narrow(FileName(build)) + " " + disc.label;
      disc.exe = root + L"\\" + FileName(build);
      if (!bench::PlaceProgram(build, disc.exe)) {
        Say("error: cannot place " + Narrow(build) + " in " + Narrow(root));
        return 1;
      }
      disc.title = L"Varnolt";
      disc.listCount = games + 1;  // the disc's own entry comes first
      targets.push_back(std::move(disc));
    }
  }
  Say(Format("Discs made in %.1f s in %s", MsBetween(making, Now()) / 1000,
             Narrow(scratch).c_str()));

  const double sleepMs = SleepOneMs();
  Say(Format("System: %s; the window is sought every Sleep(1) = %.2f ms",
             bench::SystemName().c_str(), sleepMs));
  Say(Format("Runs: 1 warm-up round, then %d rounds; each round starts every program once", runs));

  // Rounds rather than runs in a row, so that a slow spell of this shared
  // machine falls on all programs alike.
  for (int round = 0; round <= runs; ++round) {
    for (Target& target : targets) {
      const RunResult r = RunOnce(job, target);
      if (!r.error.empty()) {
        Say("error: " + target.label + ": " + r.error);
        return 1;
      }
      if (round > 0) {
        target.filled.push_back(r.filledMs);
        target.ready.push_back(r.readyMs);
      }
      ::Sleep(kPauseBetweenRunsMs);
    }
    std::fputs(round == 0 ? "warm-up done" : Format(" %d", round).c_str(), stdout);
    std::fflush(stdout);
  }
  Say("");
  Say("");

  const bench::Summary empty = bench::Summarise(targets[0].ready);
  const bench::Summary same = bench::Summarise(targets[1].ready);
  Say(Format("Start-up to a filled, painted window, ms (%d runs each)", runs));
  int width = 14;
  for (const Target& target : targets)
    width = std::max(width, static_cast<int>(target.label.size()) + 2);
  Say(Format("%-*s%20s %22s %10s %10s %10s", width, "", "list filled", "window ready", "ready /",
             "ready /", "min /"));
  Say(Format("%-*s%10s %9s%12s %9s %10s %10s %10s", width, "games", "median", "min", "median",
             "min", "empty", "same", "same min"));
  for (const Target& target : targets) {
    const bench::Summary ready = bench::Summarise(target.ready);
    const bench::Summary filled = bench::Summarise(target.filled);
    Say(Row(width, target.label, target.listCount >= 0 ? &filled : nullptr, ready,
            empty.median > 0 ? ready.median / empty.median : 0,
            same.median > 0 ? ready.median / same.median : 0,
            same.min > 0 ? ready.min / same.min : 0));
  }
  Say("Goal: 1000 games within 1.1 x the same window, 10000 games within 1.3 x (medians).");
  Say("On a busy machine the minimums show the programs' own costs best.");
  return 0;
}
