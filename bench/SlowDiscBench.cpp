// Varnolt on a slow drive: what a user meets moving through 200 games when
// each first access of a file or folder costs a seek (no delay, 100 ms,
// 150 ms) and first reads run at 6 MB/s.
//
//   SlowDiscBench [--runs N] --pictures FOLDER VARNOLT_EXE [OTHER_VARNOLT_EXE...]
//
// The drive is the preloaded SlowDrive.so (bench/SlowDrive.c), which
// tools/run-bench.sh puts into Wine's processes; it delays only the process
// named in the file VARNOLT_SLOW_CONFIG by the delay named there, both set
// here for each run, and logs every first access to VARNOLT_SLOW_LOG, which is read
// here to count what the program read. The disc (200 games, each with a
// description, the screenshot FOLDER\slowdisc.jpg and an installer) is made
// in a folder whose name holds the drive's mark. Every run starts a fresh
// process (a fresh drive: nothing read before), waits for its filled and
// painted list, and then, with the window pinged meanwhile to find its
// longest silence:
// - one Down to a game not read before, until its text is shown and the
//   window has painted; then on to the next game and Up back to it, until
//   its text is shown (with the files read again from their start, which
//   the drive's log tells);
// - 20 Down keys posted 50 ms apart, from a game not read before, until the
//   20th game is selected, its text shown and the window idle (two WM_NULL
//   round trips); and the same with 33 ms between keys (a held key);
// - F1, until the read-me is shown and painted; Esc closes it.
// The programs and the drives take turns run by run.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "BenchProcess.h"
#include "TestSupport.h"

namespace {

using namespace bench;

constexpr double kStartDeadlineMs = 120000;
constexpr double kStepDeadlineMs = 60000;
constexpr DWORD kRoundTripTimeoutMs = 60000;
constexpr int kGames = 200;
const int kDrives[] = {0, 100, 150};
constexpr int kDriveCount = 3;
const wchar_t kMark[] = L"varnolt-slowdisc";
const char kReadMe[] = "Read me: how to use this disc.";

struct Controls {
  HWND window = nullptr, list = nullptr, edit = nullptr;
};

// The window's list and its (first) text box, found by their classes.
Controls FindControls(HWND window) {
  Controls c{window};
  for (HWND child : testsupport::ChildrenOf(window)) {
    const std::wstring kind = testsupport::ClassOf(child);
    if (!c.list && ::_wcsicmp(kind.c_str(), L"ListBox") == 0 && ::IsWindowVisible(child))
      c.list = child;
    if (!c.edit && ::_wcsicmp(kind.c_str(), L"Edit") == 0) c.edit = child;
  }
  return c;
}

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return bench::Send(window, message, wParam, lParam, result, kRoundTripTimeoutMs);
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[256];
  LRESULT n = 0;
  if (!Ask(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), n)) return L"";
  return std::wstring(buffer,
                      static_cast<std::size_t>(std::max<LRESULT>(0, std::min<LRESULT>(n, 255))));
}

std::wstring ItemOf(HWND list, int index) {
  wchar_t buffer[256] = L"";
  LRESULT n = 0;
  Ask(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer), n);
  return buffer;
}

std::wstring Description(const std::wstring& game) { return L"About " + game; }

// Pings the window every millisecond and keeps its longest silence.
struct Pinger {
  HWND window;
  std::atomic<bool> stop{false};
  std::atomic<double> longest{0};
  static DWORD WINAPI Run(void* param) {
    auto& p = *static_cast<Pinger*>(param);
    while (!p.stop.load()) {
      const LARGE_INTEGER from = Now();
      DWORD_PTR result = 0;
      ::SendMessageTimeoutW(p.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
      const double ms = MsBetween(from, Now());
      if (ms > p.longest.load()) p.longest.store(ms);
      ::Sleep(1);
    }
    return 0;
  }
};

class Pinging {
 public:
  explicit Pinging(HWND window) {
    pinger_.window = window;
    thread_ = Handle(::CreateThread(nullptr, 0, Pinger::Run, &pinger_, 0, nullptr));
  }
  double Stop() {
    pinger_.stop.store(true);
    if (thread_.Valid()) ::WaitForSingleObject(thread_.Get(), INFINITE);
    return pinger_.longest.load();
  }
  ~Pinging() { Stop(); }

 private:
  Pinger pinger_;
  Handle thread_;
};

// What the drive's log gained since a point: first accesses of descriptions
// and screenshots, their bytes, and the load sound's starts.
struct Reads {
  int descriptions = 0, screenshots = 0, sounds = 0;
  int again = 0;  // descriptions and screenshots read from their start again
  double mb = 0;
};

// A file the drive names by its Unix path, as this program sees it.
std::wstring DriveFile(const char* setting) {
  const char* unix = std::getenv(setting);
  if (!unix) return L"";
  std::wstring path = L"Z:";
  for (const char* c = unix; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

std::wstring LogFile() { return DriveFile("VARNOLT_SLOW_LOG"); }

long LogSize() {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(LogFile().c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<long>(data.nFileSizeLow);
}

Reads ReadsSince(long from) {
  Reads r;
  FILE* log = ::_wfopen(LogFile().c_str(), L"rb");
  if (!log) return r;
  std::fseek(log, from, SEEK_SET);
  char line[2048];
  auto ends = [](const std::string& s, const char* tail) {
    const std::string t = tail;
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
  };
  while (std::fgets(line, sizeof line, log)) {
    std::string s = line;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    for (int field = 0; field < 2 && s.rfind(' ') != std::string::npos; ++field)
      s.resize(s.rfind(' '));  // the process and the time
    const std::string kind = s.substr(0, s.find(' '));
    if (kind == "seek" && ends(s, "/descript.ion")) ++r.descriptions;
    if (kind == "seek" && ends(s, "/screenshot.jpg")) ++r.screenshots;
    if (kind == "head" && ends(s, "/load.wav")) ++r.sounds;
    if (kind == "head" && (ends(s, "/descript.ion") || ends(s, "/screenshot.jpg"))) ++r.again;
    if (kind == "read" && (s.find("/screenshot.jpg ") != std::string::npos ||
                           s.find("/descript.ion ") != std::string::npos))
      r.mb += std::atof(s.c_str() + s.rfind(' ') + 1) / 1048576.0;
  }
  std::fclose(log);
  return r;
}

struct RunResult {
  double oneDownMs = 0, oneDownSilenceMs = 0, backMs = 0;
  Reads backReads;
  double quickMs = 0, quickSilenceMs = 0, heldMs = 0, heldSilenceMs = 0;
  Reads quickReads;
  double readMeMs = 0;
  std::string error;
};

// Waits until the list has `index` selected, the box shows that game's text
// and the window has painted; the time from `from`.
std::string WaitShown(const Controls& c, int index, LARGE_INTEGER from, double& ms) {
  const std::wstring expected = Description(ItemOf(c.list, index));
  for (;;) {
    LRESULT selected = -1;
    if (!Ask(c.list, LB_GETCURSEL, 0, 0, selected)) return "the list did not answer";
    if (selected == index && TextOf(c.edit) == expected) break;
    if (MsBetween(from, Now()) > kStepDeadlineMs) return "the text never came";
    ::Sleep(1);
  }
  if (!bench::Painted(c.window, kRoundTripTimeoutMs)) return "the window did not answer";
  ms = MsBetween(from, Now());
  return std::string();
}

// Down keys (Up keys for a negative `count`) `apartMs` apart from entry
// `first`, `count` of them.
std::string Downs(const Controls& c, int first, int count, DWORD apartMs, double& ms,
                  double& silence) {
  const WPARAM key = count < 0 ? VK_UP : VK_DOWN;
  const int keys = count < 0 ? -count : count;
  LRESULT result = 0;
  if (!Ask(c.list, LB_SETCURSEL, static_cast<WPARAM>(first), 0, result))
    return "the list did not answer";
  Pinging pinging(c.window);
  LARGE_INTEGER last = Now();
  for (int k = 0; k < keys; ++k) {
    if (k > 0) ::Sleep(apartMs);
    ::PostMessageW(c.list, WM_KEYDOWN, key, k == 0 ? 1 : 0x40000001);
    if (apartMs >= 50 || k == keys - 1) ::PostMessageW(c.list, WM_KEYUP, key, 0xC0000001);
    last = Now();
  }
  const std::string error = WaitShown(c, first + count, last, ms);
  silence = pinging.Stop();
  return error;
}

std::string ReadMe(const Child& process, const Controls& c, double& ms) {
  ::PostMessageW(c.list, WM_KEYDOWN, VK_F1, 1);
  ::PostMessageW(c.list, WM_KEYUP, VK_F1, 0xC0000001);
  const LARGE_INTEGER start = Now();
  HWND help = nullptr;
  std::string error = WaitForWindow(process, kHelpTitle, start, kStepDeadlineMs, help);
  if (!error.empty()) return error;
  Controls h;
  for (;;) {
    h = FindControls(help);
    if (h.edit && TextOf(h.edit) == std::wstring(kReadMe, kReadMe + sizeof kReadMe - 1)) break;
    if (MsBetween(start, Now()) > kStepDeadlineMs) return "the read-me never came";
    ::Sleep(1);
  }
  if (!bench::Painted(help, kRoundTripTimeoutMs)) return "the read-me did not answer";
  ms = MsBetween(start, Now());
  ::PostMessageW(h.edit, WM_KEYDOWN, VK_ESCAPE, 1);
  ::PostMessageW(h.edit, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  return std::string();
}

RunResult RunOnce(HANDLE job, const std::wstring& exe, int seekMs) {
  RunResult r;
  const std::wstring name = exe.substr(exe.rfind(L'\\') + 1);
  if (!testsupport::WriteFile(DriveFile("VARNOLT_SLOW_CONFIG"),
                              Narrow(name) + " " + std::to_string(seekMs) + "\n")) {
    r.error = "cannot set the drive";
    return r;
  }
  Child process;
  LARGE_INTEGER started;
  Controls c;
  r.error = process.StartAndWait(job, exe, L"Varnolt", kStartDeadlineMs, started, c.window);
  if (!r.error.empty()) return r;
  LRESULT count = -1;
  for (;;) {
    c = FindControls(c.window);
    if (c.list && c.edit && Ask(c.list, LB_GETCOUNT, 0, 0, count) && count == kGames + 1) break;
    if (process.Gone() || MsBetween(started, Now()) > kStartDeadlineMs) {
      r.error = "the list never held the disc and its games";
      process.Close(c.window);
      return r;
    }
    ::Sleep(1);
  }
  bench::Painted(c.window, kRoundTripTimeoutMs);
  ::Sleep(300);
  const auto fail = [&](const char* step, const std::string& error) {
    r.error = std::string(step) + ": " + error;
    process.Close(c.window);
    return r;
  };
  std::string error = Downs(c, 10, 1, 0, r.oneDownMs, r.oneDownSilenceMs);
  if (!error.empty()) return fail("one Down", error);
  ::Sleep(1500);
  // On to the next game and back: both programs show the picture before
  // the text of a game they have shown before.
  double unused = 0;
  error = Downs(c, 11, 1, 0, unused, unused);
  if (!error.empty()) return fail("Down", error);
  ::Sleep(1500);
  const long backAt = LogSize();
  error = Downs(c, 12, -1, 0, r.backMs, unused);
  if (!error.empty()) return fail("Up", error);
  ::Sleep(1500);
  r.backReads = ReadsSince(backAt);
  const long logAt = LogSize();
  error = Downs(c, 30, 20, 50, r.quickMs, r.quickSilenceMs);
  if (!error.empty()) return fail("20 Downs", error);
  ::Sleep(1500);  // what the last game's picture costs counts too
  r.quickReads = ReadsSince(logAt);
  error = Downs(c, 80, 20, 33, r.heldMs, r.heldSilenceMs);
  if (!error.empty()) return fail("held Down", error);
  ::Sleep(1500);
  error = ReadMe(process, c, r.readMeMs);
  if (!error.empty()) return fail("F1", error);
  ::Sleep(300);
  process.Close(c.window);
  return r;
}

struct Series {
  std::vector<double> oneDown, oneDownSilence, back, backFiles, quick, quickSilence, held,
      heldSilence, readMe;
  std::vector<double> descriptions, screenshots, mb, sounds;
  int failures = 0;
};

double Median(const std::vector<double>& v) { return Summarise(v).median; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Arguments args;
  if (!ParseArguments(
          argc, argv,
          "SlowDiscBench [--runs N] --pictures FOLDER VARNOLT_EXE [OTHER_VARNOLT_EXE...]", 1, 8, 8,
          args))
    return 2;
  if (LogFile().empty() || DriveFile("VARNOLT_SLOW_CONFIG").empty()) {
    Say("SlowDiscBench: VARNOLT_SLOW_LOG and _CONFIG are not set: run it through "
        "tools/run-bench.sh");
    return 2;
  }
  Workspace space;
  if (!MakeWorkspace(kMark, space)) return 1;
  const std::wstring root = space.scratch() + L"\\" + kMark;
  std::wstring error;
  if (!MakeDisc(root, kGames, error)) {
    Say("SlowDiscBench: " + Narrow(error));
    return 1;
  }
  const std::wstring picture = args.pictures + L"\\slowdisc.jpg";
  for (const std::wstring& game : GameNames(kGames)) {
    const std::wstring folder = root + L"\\games\\" + game;
    std::string text = "\xEF\xBB\xBF";
    for (wchar_t ch : Description(game)) {  // UTF-8
      if (ch < 0x80) {
        text += static_cast<char>(ch);
      } else {
        text += static_cast<char>(0xC0 | (ch >> 6));
        text += static_cast<char>(0x80 | (ch & 0x3F));
      }
    }
    if (!testsupport::WriteFile(folder + L"\\descript.ion", text) ||
        !::CopyFileW(picture.c_str(), (folder + L"\\screenshot.jpg").c_str(), FALSE) ||
        !testsupport::WriteFile(folder + L"\\setup.exe", "MZ")) {
      Say("SlowDiscBench: cannot fill " + Narrow(folder));
      return 1;
    }
  }
  testsupport::WriteFile(root + L"\\read.me.txt", kReadMe);
  std::vector<std::wstring> programs;
  for (const std::wstring& path : args.paths) {
    const std::wstring placed = root + L"\\" + path.substr(path.rfind(L'\\') + 1);
    if (!PlaceProgram(path, placed)) {
      Say("SlowDiscBench: cannot place " + Narrow(path));
      return 1;
    }
    programs.push_back(placed);
  }

  Say(
      Format("Slow drive: %d games, each first access of a file or folder the drive's delay, "
             "first reads at 6 MB/s; medians of %d runs",
             kGames, args.runs));
  std::vector<std::vector<Series>> series(programs.size(), std::vector<Series>(kDriveCount));
  for (int run = 0; run < args.runs; ++run) {
    for (int d = 0; d < kDriveCount; ++d) {
      for (std::size_t p = 0; p < programs.size(); ++p) {
        const RunResult r = RunOnce(space.job.Get(), programs[p], kDrives[d]);
        Series& s = series[p][static_cast<std::size_t>(d)];
        if (!r.error.empty()) {
          ++s.failures;
          Say(Format("  %s, %d ms drive, run %d: %s", Narrow(args.paths[p]).c_str(), kDrives[d],
                     run + 1, r.error.c_str()));
          continue;
        }
        s.oneDown.push_back(r.oneDownMs);
        s.back.push_back(r.backMs);
        s.backFiles.push_back(r.backReads.again);
        s.oneDownSilence.push_back(r.oneDownSilenceMs);
        s.quick.push_back(r.quickMs);
        s.quickSilence.push_back(r.quickSilenceMs);
        s.held.push_back(r.heldMs);
        s.heldSilence.push_back(r.heldSilenceMs);
        s.readMe.push_back(r.readMeMs);
        s.descriptions.push_back(r.quickReads.descriptions);
        s.screenshots.push_back(r.quickReads.screenshots);
        s.mb.push_back(r.quickReads.mb);
        s.sounds.push_back(r.quickReads.sounds);
        ::Sleep(kPauseBetweenRunsMs);
      }
    }
  }

  for (std::size_t p = 0; p < programs.size(); ++p) {
    Say("");
    Say(Narrow(args.paths[p]));
    Say("| what the user does | no delay | 100 ms drive | 150 ms drive |");
    Say("|---|---|---|---|");
    const auto row = [&](const char* what, std::vector<double> Series::*field, const char* unit) {
      std::string line = Format("| %s |", what);
      for (int d = 0; d < kDriveCount; ++d)
        line += Format(" %.0f%s |", Median(series[p][static_cast<std::size_t>(d)].*field), unit);
      Say(line);
    };
    row("one Down to a game not read before: until its text is shown and the window answers",
        &Series::oneDown, " ms");
    row("the window's longest silence during that Down", &Series::oneDownSilence, " ms");
    row("Up back to a game shown before: until its picture and text are shown", &Series::back,
        " ms");
    row("files read from their start during that Up", &Series::backFiles, "");
    row("20 Down presses 50 ms apart: last key -> the 20th game selected, its text shown, window "
        "idle",
        &Series::quick, " ms");
    row("the window's longest silence during those 20 keys", &Series::quickSilence, " ms");
    row("the same, Down held (repeat every 33 ms)", &Series::held, " ms");
    row("the window's longest silence while Down is held", &Series::heldSilence, " ms");
    std::string reads = "| descriptions + screenshots read during those 20 keys (MB) |";
    std::string sounds = "| load sounds started during those 20 keys |";
    for (int d = 0; d < kDriveCount; ++d) {
      const Series& s = series[p][static_cast<std::size_t>(d)];
      reads += Format(" %.0f + %.0f (%.1f MB) |", Median(s.descriptions), Median(s.screenshots),
                      Median(s.mb));
      sounds += Format(" %.0f |", Median(s.sounds));
    }
    Say(reads);
    Say(sounds);
    row("F1: read-me shown", &Series::readMe, " ms");
    for (int d = 0; d < kDriveCount; ++d)
      if (series[p][static_cast<std::size_t>(d)].failures)
        Say(Format("(%d failed runs at %d ms)", series[p][static_cast<std::size_t>(d)].failures,
                   kDrives[d]));
  }
  return 0;
}
