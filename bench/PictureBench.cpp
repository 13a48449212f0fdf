// How Varnolt's window answers while it decodes the largest pictures it
// accepts, and the memory its process takes for them, one picture of each
// format and depth at the limit (and one just over it, which is refused).
// A GIF, held by a decoder at a byte a pixel, is left out: ImageMagick
// refuses to make one of 100 megapixels within its default limits.
//
//   PictureBench [--runs N] --pictures FOLDER VARNOLT_EXE [OTHER_VARNOLT_EXE...]
//
// FOLDER holds the pictures named in Pictures() below (tools/run-bench.sh
// makes them). Each is the screenshot of a game of one disc made here; every
// run starts a fresh process, waits until its list is filled and painted,
// chooses the game with a Down key and then asks the window every
// millisecond whether it answers (WM_NULL), until the picture is shown or,
// for a picture the program refuses, 20 s have passed. Then the process's
// peak private bytes and peak working set are read, and it is closed.
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "BenchProcess.h"

namespace {

using namespace bench;

constexpr double kStartDeadlineMs = 30000;
constexpr double kRefusedWaitMs = 20000;
constexpr double kShownDeadlineMs = 120000;
constexpr double kMb = 1048576.0;

struct Picture {
  const char* label;
  const wchar_t* file;  // in the pictures folder
  bool accepted;
};

std::vector<Picture> Pictures() {
  return {
      {"JPEG, 8-bit RGB, 10000 x 10000", L"jpeg-100mp.jpg", true},
      {"PNG, 8-bit RGBA, 10000 x 10000", L"png8-100mp.png", true},
      {"PNG, 16-bit RGBA, 10000 x 5000", L"png16-50mp.png", true},
      {"PNG, 16-bit RGBA, 10000 x 10000", L"png16-100mp.png", false},
      {"BMP, 32-bit, 10000 x 10000", L"bmp32-100mp.bmp", true},
  };
}

struct Measured {
  double shownMs = -1;  // -1: not shown
  double longestMs = 0, peakPrivateMb = 0, peakWorkingSetMb = 0;
};

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return bench::Send(window, message, wParam, lParam, result, 60000);
}

std::string RunOnce(HANDLE job, const std::wstring& exe, const Picture& picture, int index,
                    Measured& m) {
  bench::Child process;
  LARGE_INTEGER started;
  HWND window = nullptr;
  std::string error = process.StartAndWait(job, exe, L"Varnolt", kStartDeadlineMs, started, window);
  if (!error.empty()) return error;
  testsupport::MainControls c;
  LRESULT count = 0, result = 0;
  for (;;) {
    c = testsupport::FindMainControls(window);
    if (c.lsGame && c.img && Send(c.lsGame, LB_GETCOUNT, 0, 0, count) && count > index) break;
    if (process.Gone() || MsBetween(started, Now()) > kStartDeadlineMs) {
      process.Close(window);
      return "the list never held the games";
    }
    ::Sleep(1);
  }
  if (!bench::Painted(window, 10000)) error = "the window did not answer";
  Send(c.lsGame, LB_SETCURSEL, static_cast<WPARAM>(index - 1), 0, result);
  ::PostMessageW(c.lsGame, WM_KEYDOWN, VK_DOWN, 1);
  ::PostMessageW(c.lsGame, WM_KEYUP, VK_DOWN, 0xC0000001);
  const LARGE_INTEGER start = Now();
  const double deadline = picture.accepted ? kShownDeadlineMs : kRefusedWaitMs;
  while (error.empty() && MsBetween(start, Now()) < deadline) {
    const LARGE_INTEGER sent = Now();
    LRESULT image = 0;
    if (!Send(window, WM_NULL, 0, 0, result) || !Send(c.img, STM_GETIMAGE, IMAGE_BITMAP, 0, image))
      error = "the window did not answer";
    m.longestMs = std::max(m.longestMs, MsBetween(sent, Now()));
    if (image != 0) {
      m.shownMs = MsBetween(start, Now());
      break;
    }
    ::Sleep(1);
  }
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (::GetProcessMemoryInfo(process.process(), &counters, sizeof counters)) {
    m.peakPrivateMb = static_cast<double>(counters.PeakPagefileUsage) / kMb;
    m.peakWorkingSetMb = static_cast<double>(counters.PeakWorkingSetSize) / kMb;
  }
  process.Close(window);
  return error;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Arguments args;
  args.runs = 3;
  if (!bench::ParseArguments(argc, argv,
                             "PictureBench [--runs N] --pictures FOLDER VARNOLT_EXE "
                             "[OTHER_VARNOLT_EXE...]",
                             1, 100, 100, args))
    return 2;
  bench::Workspace workspace;
  if (!bench::MakeWorkspace(L"varnolt-pictures-", workspace)) return 1;
  const std::wstring root = workspace.scratch() + L"\\disc";
  std::wstring werror;
  if (!bench::MakeDisc(root, 0, werror)) {
    Say("error: " + Narrow(werror));
    return 1;
  }
  const std::vector<Picture> pictures = Pictures();
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const std::wstring folder = root + L"\\games\\P" + std::to_wstring(i + 1);
    const std::wstring from = args.pictures + L"\\" + pictures[i].file;
    if (!::CreateDirectoryW(folder.c_str(), nullptr) ||
        !testsupport::WriteFile(folder + L"\\descript.ion", pictures[i].label) ||
        !bench::PlaceProgram(from, folder + L"\\screenshot.jpg")) {
      Say("error: cannot place " + Narrow(from));
      return 1;
    }
  }
  std::vector<std::wstring> exes;
  std::vector<std::string> labels;
  for (std::size_t p = 0; p < args.paths.size(); ++p) {
    const std::wstring& full = args.paths[p];
    const std::wstring exe =
        root + (p == 0 ? L"\\Varnolt.exe" : L"\\Varnolt" + std::to_wstring(p) + L".exe");
    if (!bench::PlaceProgram(full, exe)) {
      Say("error: cannot place " + Narrow(full));
      return 1;
    }
    exes.push_back(exe);
    labels.push_back(Narrow(full.substr(full.find_last_of(L"\\/") + 1)));
  }
  Say("System: " + bench::SystemName());
  Say(Format("Runs: %d per picture and program, a fresh process each", args.runs));

  // runs[picture][program]
  std::vector<std::vector<std::vector<Measured>>> runs(
      pictures.size(), std::vector<std::vector<Measured>>(exes.size()));
  for (int round = 1; round <= args.runs; ++round) {
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      for (std::size_t p = 0; p < exes.size(); ++p) {
        Measured m;
        // Game P1 is entry 1, after the disc.
        const std::string error =
            RunOnce(workspace.job.Get(), exes[p], pictures[i], static_cast<int>(i) + 1, m);
        if (!error.empty()) {
          Say("");
          Say("error: " + labels[p] + ", " + pictures[i].label + ": " + error);
          return 1;
        }
        runs[i][p].push_back(m);
        ::Sleep(kPauseBetweenRunsMs);
      }
    }
    std::fputs(Format(" %d", round).c_str(), stdout);
    std::fflush(stdout);
  }
  Say("");
  for (std::size_t p = 0; p < exes.size(); ++p) {
    Say("");
    Say(labels[p]);
    Say(Format("%-34s %10s %16s %14s %14s", "picture", "shown, ms", "longest silence,",
               "peak private", "peak working"));
    Say(Format("%-34s %10s %16s %14s %14s", "", "(median)", "ms (median/most)", "MB (most)",
               "set, MB (most)"));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      std::vector<double> shown, silences;
      double longest = 0, privateMb = 0, workingMb = 0;
      bool refused = false;
      for (const Measured& m : runs[i][p]) {
        if (m.shownMs < 0) refused = true;
        shown.push_back(m.shownMs);
        silences.push_back(m.longestMs);
        longest = std::max(longest, m.longestMs);
        privateMb = std::max(privateMb, m.peakPrivateMb);
        workingMb = std::max(workingMb, m.peakWorkingSetMb);
      }
      const std::string when =
          refused ? std::string("not shown") : Format("%.0f", bench::Summarise(shown).median);
      const std::string silence = Format("%.0f / %.0f", bench::Summarise(silences).median, longest);
      Say(Format("%-34s %10s %16s %14.0f %14.0f", pictures[i].label, when.c_str(), silence.c_str(),
                 privateMb, workingMb));
    }
  }
  Say("");
  Say("Goals: the window never silent for more than 100 ms while a picture decodes; the largest");
  Say("picture accepted well within the 2 GiB a 32-bit process has.");
  return 0;
}
