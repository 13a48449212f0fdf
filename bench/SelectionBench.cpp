// How long Varnolt takes from a game being chosen in its list to showing the
// game's description and screenshot, and how much memory that takes, for
// screenshots of 0.3, 2 and 24 megapixels; next to the simple way of doing
// the same (SimpleSelection.exe: the whole picture decoded into a bitmap of
// its full size, which the picture control shrinks when it paints).
//
//   SelectionBench [--runs N] --pictures FOLDER VARNOLT_EXE SIMPLE_SELECTION_EXE
//
// Both programs sit in the root of one disc made here, whose games are a
// warm-up game with a small screenshot and one game per picture size. The
// pictures are taken from FOLDER as 160x120.jpg (the warm-up), 640x480.jpg,
// 1600x1200.jpg and 6000x4000.jpg (tools/run-bench.sh makes them).
//
// Every measurement starts a fresh process and waits until its list is
// filled and painted. Then the warm-up game is chosen (loading what showing
// any picture needs), the entry before the measured game is selected
// quietly (LB_SETCURSEL sends no notification), and the clock starts when a
// Down key is posted to the list. It stops when the description box holds
// the game's description and a new picture (whichever comes last) and two
// WM_NULL round trips to the window have returned, the second one after the
// paint the selection caused.
//
// Memory is taken in runs of its own, so that watching it costs the timed
// runs nothing: the process's private bytes just before the Down key, and
// their peak until the picture is shown. Wine reports the current figure as
// the peak, so the figure is also read every millisecond while the
// selection runs, and the larger of the two is the peak.
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "BenchProcess.h"

namespace {

using namespace bench;

constexpr DWORD kRoundTripTimeoutMs = 60000;
constexpr double kStartDeadlineMs = 30000;
constexpr double kSelectionDeadlineMs = 120000;
constexpr DWORD kSettleMs = 100;  // after the warm-up, before the measured selection

// ---- The disc --------------------------------------------------------------

struct Picture {
  const char* label;
  int width, height;
  std::wstring game;  // the game folder's name
  std::wstring description;
  double fileMb = 0;
};

// A game with the picture WIDTHxHEIGHT.jpg from `pictures`.
bool AddGame(const std::wstring& root, const Picture& picture, const std::wstring& pictures,
             std::string& error) {
  const std::wstring folder = root + L"\\games\\" + picture.game;
  if (!::CreateDirectoryW(folder.c_str(), nullptr) ||
      !testsupport::WriteFile(folder + L"\\descript.ion", Narrow(picture.description))) {
    error = "cannot make the game " + Narrow(picture.game);
    return false;
  }
  const std::wstring screenshot = folder + L"\\screenshot.jpg";
  const std::wstring from = pictures + L"\\" + std::to_wstring(picture.width) + L"x" +
                            std::to_wstring(picture.height) + L".jpg";
  if (::CopyFileW(from.c_str(), screenshot.c_str(), TRUE)) return true;
  error = "cannot copy " + Narrow(from);
  return false;
}

double FileMb(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow) / 1048576.0;
}

// ---- One run -----------------------------------------------------------------

struct Program {
  std::string label;
  std::wstring exe;
  std::wstring title;  // how its window's title starts
};

struct Controls {
  HWND window = nullptr, list = nullptr, edit = nullptr, picture = nullptr;
};

BOOL CALLBACK PickControl(HWND child, LPARAM param) {
  auto& c = *reinterpret_cast<Controls*>(param);
  wchar_t name[32];
  if (!::GetClassNameW(child, name, 32)) return TRUE;
  const LONG style = ::GetWindowLongW(child, GWL_STYLE);
  if (::_wcsicmp(name, L"ListBox") == 0 && (style & WS_VISIBLE) && !c.list) c.list = child;
  if (::_wcsicmp(name, L"Edit") == 0 && !c.edit) c.edit = child;
  if (::_wcsicmp(name, L"Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP) c.picture = child;
  return TRUE;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return bench::Send(window, message, wParam, lParam, result, kRoundTripTimeoutMs);
}

bool ReadText(HWND edit, std::wstring& text) {
  wchar_t buffer[1024];
  LRESULT n = 0;
  if (!Send(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), n)) return false;
  text.assign(buffer, static_cast<std::size_t>(std::max<LRESULT>(0, std::min<LRESULT>(n, 1023))));
  return true;
}

struct Memory {
  double privateBytes = 0, workingSet = 0, peakPrivate = 0, peakWorkingSet = 0;
};

Memory ReadMemory(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX c = {};
  c.cb = sizeof c;
  Memory m;
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c)) {
    // Windows counts committed private bytes in PrivateUsage; Wine leaves it
    // 0 and reports the same figure as the page-file usage.
    m.privateBytes = static_cast<double>(std::max(c.PrivateUsage, c.PagefileUsage));
    m.workingSet = static_cast<double>(c.WorkingSetSize);
    m.peakPrivate = static_cast<double>(c.PeakPagefileUsage);
    m.peakWorkingSet = static_cast<double>(c.PeakWorkingSetSize);
  }
  return m;
}

// Reads the process's private bytes every millisecond until stopped.
struct Sampler {
  HANDLE process;
  std::atomic<bool> stop{false};
  std::atomic<double> most{0};
  static DWORD WINAPI Run(void* param) {
    auto& s = *static_cast<Sampler*>(param);
    while (!s.stop.load()) {
      const double now = ReadMemory(s.process).privateBytes;
      if (now > s.most.load()) s.most.store(now);
      ::Sleep(1);
    }
    return 0;
  }
};

struct RunResult {
  double ms = 0;
  Memory before, after;
  double sampledPeak = 0;
  std::string error;
};

// Selects entry `index` with a Down key from the entry before it and waits
// until `description` is shown and the window has painted; `ms` is the time
// from the key to then.
std::string Choose(const Controls& c, int index, const std::wstring& description, double& ms) {
  LRESULT result = 0;
  if (!Send(c.list, LB_SETCURSEL, static_cast<WPARAM>(index - 1), 0, result))
    return "the list did not answer";
  LRESULT before = 0, shown = 0;
  if (!Send(c.picture, STM_GETIMAGE, IMAGE_BITMAP, 0, before)) return "the picture did not answer";
  ::PostMessageW(c.list, WM_KEYDOWN, VK_DOWN, 1);
  ::PostMessageW(c.list, WM_KEYUP, VK_DOWN, 0xC0000001);
  const LARGE_INTEGER start = Now();
  std::wstring text;
  for (;;) {
    if (!ReadText(c.edit, text) || !Send(c.picture, STM_GETIMAGE, IMAGE_BITMAP, 0, shown))
      return "the description box did not answer";
    if (text == description && shown != 0 && shown != before) break;
    if (MsBetween(start, Now()) > kSelectionDeadlineMs) return "the description never came";
  }
  if (!bench::Painted(c.window, kRoundTripTimeoutMs)) return "the window did not answer";
  ms = MsBetween(start, Now());
  if (!Send(c.list, LB_GETCURSEL, 0, 0, result) || result != index)
    return "the Down key chose another entry";
  if (!Send(c.picture, STM_GETIMAGE, IMAGE_BITMAP, 0, result) || result == 0)
    return "no picture is shown";
  return std::string();
}

RunResult RunOnce(HANDLE job, const Program& program, const Picture& warmUp, const Picture& picture,
                  bool watchMemory) {
  RunResult r;
  bench::Child process;
  LARGE_INTEGER started;
  Controls c;
  r.error =
      process.StartAndWait(job, program.exe, program.title, kStartDeadlineMs, started, c.window);
  if (!r.error.empty()) return r;
  auto late = [&] { return MsBetween(started, Now()) > kStartDeadlineMs; };
  LRESULT count = -1;
  for (;;) {
    c = Controls{c.window};
    ::EnumChildWindows(c.window, PickControl, reinterpret_cast<LPARAM>(&c));
    if (c.list && c.edit && c.picture && Send(c.list, LB_GETCOUNT, 0, 0, count) && count == 5)
      break;
    if (process.Gone() || late()) {
      r.error = Format("the list never held the disc and its 4 games (count %ld)",
                       static_cast<long>(count));
      process.Close(c.window);
      return r;
    }
    ::Sleep(1);
  }
  LRESULT warmIndex = 0, index = 0;
  if (!bench::Painted(c.window, kRoundTripTimeoutMs) ||
      !Send(c.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(warmUp.game.c_str()), warmIndex) ||
      !Send(c.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(picture.game.c_str()), index) ||
      warmIndex < 1 || index < 1) {
    r.error = "the games are not in the list";
    process.Close(c.window);
    return r;
  }
  double warmUpMs = 0;
  r.error = Choose(c, static_cast<int>(warmIndex), warmUp.description, warmUpMs);
  if (!r.error.empty()) {
    r.error = "warm-up: " + r.error;
    process.Close(c.window);
    return r;
  }
  ::Sleep(kSettleMs);

  r.before = ReadMemory(process.process());
  Sampler sampler;
  sampler.process = process.process();
  Handle watcher(watchMemory ? ::CreateThread(nullptr, 0, Sampler::Run, &sampler, 0, nullptr)
                             : nullptr);
  r.error = Choose(c, static_cast<int>(index), picture.description, r.ms);
  if (watcher.Valid()) {
    sampler.stop.store(true);
    ::WaitForSingleObject(watcher.Get(), INFINITE);
  }
  r.after = ReadMemory(process.process());
  r.sampledPeak = sampler.most.load();
  process.Close(c.window);
  return r;
}

// ---- Figures -----------------------------------------------------------------

struct Series {
  std::vector<double> ms, peakMb, increaseMb, peakWsIncreaseMb;
};

constexpr double kMb = 1048576.0;

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Arguments args;
  if (!bench::ParseArguments(
          argc, argv,
          "SelectionBench [--runs N] --pictures FOLDER VARNOLT_EXE SIMPLE_SELECTION_EXE", 2, 2, 2,
          args))
    return 2;
  const int runs = args.runs;
  const std::wstring& pictureFolder = args.pictures;
  const std::vector<std::wstring>& programs = args.paths;

  bench::Workspace workspace;
  if (!bench::MakeWorkspace(L"varnolt-selection-", workspace)) return 1;
  const std::wstring& scratch = workspace.scratch();
  const HANDLE job = workspace.job.Get();

  Picture warmUp{"warm-up", 160, 120, L"Warm-up", L"A game with a small screenshot."};
  std::vector<Picture> pictures = {
      {"640x480 (0.3 MP)", 640, 480, L"Screenshot 0.3 MP", L"A game with a 640 x 480 screenshot."},
      {"1600x1200 (2 MP)", 1600, 1200, L"Screenshot 2 MP",
       L"A game with a 1600 x 1200 screenshot."},
      {"6000x4000 (24 MP)", 6000, 4000, L"Screenshot 24 MP",
       L"A game with a 6000 x 4000 screenshot."},
  };
  const std::wstring root = scratch + L"\\disc";
  {
    const LARGE_INTEGER making = Now();
    std::wstring werror;
    std::string error;
    if (!bench::MakeDisc(root, 0, werror)) {
      Say("error: " + Narrow(werror));
      return 1;
    }
    if (!AddGame(root, warmUp, pictureFolder, error)) {
      Say("error: " + error);
      return 1;
    }
    for (Picture& picture : pictures) {
      if (!AddGame(root, picture, pictureFolder, error)) {
        Say("error: " + error);
        return 1;
      }
      picture.fileMb = FileMb(root + L"\\games\\" + picture.game + L"\\screenshot.jpg");
    }
    Say(Format("Disc made in %.1f s in %s; screenshots from %s:", MsBetween(making, Now()) / 1000,
               Narrow(root).c_str(), Narrow(pictureFolder).c_str()));
    for (const Picture& picture : pictures)
      Say(Format("  %-18s %6.2f MB", picture.label, picture.fileMb));
  }

  std::vector<Program> targets = {{"Varnolt", root + L"\\Varnolt.exe", L"Varnolt"},
                                  {"simple", root + L"\\SimpleSelection.exe", L"Simple selection"}};
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (!bench::PlaceProgram(programs[i], targets[i].exe)) {
      Say("error: cannot place " + Narrow(programs[i]) + " on the disc");
      return 1;
    }
  }
  Say("System: " + bench::SystemName());
  Say(
      Format("Runs: 1 warm-up round, then %d rounds; each round times every program on every "
             "picture once, then watches its memory once, each in a fresh process",
             runs));

  // series[picture][program]
  std::vector<std::vector<Series>> series(pictures.size(), std::vector<Series>(targets.size()));
  for (int round = 0; round <= runs; ++round) {
    for (std::size_t p = 0; p < pictures.size(); ++p) {
      for (std::size_t t = 0; t < targets.size(); ++t) {
        for (bool memory : {false, true}) {
          if (round == 0 && memory) continue;
          const RunResult r = RunOnce(job, targets[t], warmUp, pictures[p], memory);
          if (!r.error.empty()) {
            Say("");
            Say("error: " + targets[t].label + ", " + pictures[p].label + ": " + r.error);
            return 1;
          }
          Series& s = series[p][t];
          if (round > 0 && !memory) s.ms.push_back(r.ms);
          if (round > 0 && memory) {
            const double peak =
                std::max({r.after.peakPrivate, r.sampledPeak, r.after.privateBytes});
            s.peakMb.push_back(peak / kMb);
            s.increaseMb.push_back((peak - r.before.privateBytes) / kMb);
            s.peakWsIncreaseMb.push_back((r.after.peakWorkingSet - r.before.workingSet) / kMb);
          }
          ::Sleep(kPauseBetweenRunsMs);
        }
      }
    }
    std::fputs(round == 0 ? "warm-up done" : Format(" %d", round).c_str(), stdout);
    std::fflush(stdout);
  }
  Say("");
  Say("");

  Say(Format("Selection to description and picture shown, ms (%d runs each)", runs));
  Say(Format("%-19s%19s %19s %12s", "", "Varnolt", "simple", "Varnolt /"));
  Say(Format("%-19s%10s %8s %10s %8s %12s", "picture", "median", "min", "median", "min", "simple"));
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    const bench::Summary v = bench::Summarise(series[p][0].ms);
    const bench::Summary s = bench::Summarise(series[p][1].ms);
    Say(Format("%-19s%10.1f %8.1f %10.1f %8.1f %12.2f", pictures[p].label, v.median, v.min,
               s.median, s.min, Ratio(v.median, s.median)));
  }
  Say("");
  Say(
      Format("Peak private bytes, MB (median of %d runs; + the rise over the bytes just before "
             "the selection)",
             runs));
  Say(Format("%-19s%20s %20s %10s %10s", "picture", "Varnolt", "simple", "peak", "rise"));
  Say(Format("%-19s%20s %20s %10s %10s", "", "peak (+rise)", "peak (+rise)", "ratio", "ratio"));
  for (std::size_t p = 0; p < pictures.size(); ++p) {
    const double vp = bench::Summarise(series[p][0].peakMb).median;
    const double vr = bench::Summarise(series[p][0].increaseMb).median;
    const double sp = bench::Summarise(series[p][1].peakMb).median;
    const double sr = bench::Summarise(series[p][1].increaseMb).median;
    Say(Format("%-19s%11.1f (+%6.1f) %11.1f (+%6.1f) %10.2f %10.2f", pictures[p].label, vp, vr, sp,
               sr, Ratio(vp, sp), Ratio(vr, sr)));
  }
  Say("");
  Say("Cross-check: rise of the peak working set (the kernel's own peak), MB, medians");
  for (std::size_t p = 0; p < pictures.size(); ++p)
    Say(Format("%-19s Varnolt +%.1f, simple +%.1f", pictures[p].label,
               bench::Summarise(series[p][0].peakWsIncreaseMb).median,
               bench::Summarise(series[p][1].peakWsIncreaseMb).median));
  Say("");
  Say("Goal: at 2 and 24 MP, Varnolt within 0.75 x the simple way's time and 0.65 x its peak "
      "memory (medians).");
  for (std::size_t p = 1; p < pictures.size(); ++p) {
    const double time =
        Ratio(bench::Summarise(series[p][0].ms).median, bench::Summarise(series[p][1].ms).median);
    const double memory = Ratio(bench::Summarise(series[p][0].peakMb).median,
                                bench::Summarise(series[p][1].peakMb).median);
    Say(Format("  %-18s time %.3f %s, peak memory %.3f %s", pictures[p].label, time,
               time <= 0.75 ? "met" : "MISSED", memory, memory <= 0.65 ? "met" : "MISSED"));
  }
  return 0;
}
