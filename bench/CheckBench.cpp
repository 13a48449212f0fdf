// The time VarnoltCheck.exe takes to check a disc, and its peak memory: the
// sample disc, and made-up discs of many games, each with a description, a
// screenshot and an installer. The check's report goes to a file, as when an
// author keeps it. Usage:
//   CheckBench [--runs N] [--games N,N,...] VARNOLTCHECK_EXE SAMPLE_DISC
#include <windows.h>

// After <windows.h>, which it needs.
#include <psapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "BenchProcess.h"

namespace {

using namespace bench;

bool ReadWhole(const std::wstring& path, std::string& bytes) {
  bench::Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size;
  if (!file.Valid() || !::GetFileSizeEx(file.Get(), &size)) return false;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  return bytes.empty() ||
         (::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
          got == bytes.size());
}

// A disc of `games` games, each with the sample disc's first game's files,
// and the sample disc's read-me.
bool MakeFullDisc(const std::wstring& root, int games, const std::wstring& sample,
                  std::wstring& error) {
  if (!bench::MakeDisc(root, games, error)) return false;
  const std::wstring model = sample + L"\\games\\Racer 2\\";
  std::string description, screenshot, readMe;
  if (!ReadWhole(sample + L"\\read.me.txt", readMe) ||
      !ReadWhole(model + L"descript.ion", description) ||
      !ReadWhole(model + L"screenshot.jpg", screenshot)) {
    error = L"cannot read the sample disc's game " + model;
    return false;
  }
  if (!bench::PlaceProgram(sample + L"\\Varnolt.exe", root + L"\\Varnolt.exe") ||
      !testsupport::WriteFile(root + L"\\autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\n") ||
      !testsupport::WriteFile(root + L"\\read.me.txt", readMe)) {
    error = L"cannot put Varnolt.exe, autorun.inf and read.me.txt on the disc";
    return false;
  }
  for (const std::wstring& name : bench::GameNames(games)) {
    const std::wstring folder = root + L"\\games\\" + name + L"\\";
    if (!testsupport::WriteFile(folder + L"descript.ion", description) ||
        !testsupport::WriteFile(folder + L"screenshot.jpg", screenshot) ||
        !bench::PlaceProgram(model + L"setup.exe", folder + L"setup.exe")) {
      error = L"cannot fill " + folder;
      return false;
    }
  }
  return true;
}

struct Measure {
  double ms = 0;
  SIZE_T peakBytes = 0;
  DWORD status = 0;
};

// One run of the check on `disc`, its report written to `report`.
bool RunOnce(HANDLE job, const std::wstring& exe, const std::wstring& disc,
             const std::wstring& report, Measure& measure, std::string& error) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  bench::Handle out(::CreateFileW(report.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                                  CREATE_ALWAYS, 0, nullptr));
  if (!out.Valid()) {
    error = Format("cannot write the report file (error %lu)", ::GetLastError());
    return false;
  }
  testsupport::Process check;
  const LARGE_INTEGER start = bench::Now();
  if (const DWORD failure =
          check.Start(job, exe, L"\"" + disc + L"\"", CREATE_NO_WINDOW, out.Get())) {
    error = Format("cannot start the check (error %lu)", failure);
    return false;
  }
  const HANDLE process = check.Get();
  // The peak memory is asked for while the check runs: Wine answers nothing
  // for a process that has ended.
  for (;;) {
    const DWORD wait = ::WaitForSingleObject(process, 2);
    if (wait == WAIT_OBJECT_0) break;
    if (wait != WAIT_TIMEOUT || bench::MsBetween(start, bench::Now()) > 600000) {
      error = "the check did not end within 10 minutes";
      return false;
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process, &memory, sizeof memory))
      measure.peakBytes = std::max(measure.peakBytes, memory.PeakWorkingSetSize);
  }
  measure.ms = bench::MsBetween(start, bench::Now());
  ::GetExitCodeProcess(process, &measure.status);
  return true;
}

int Fail(const std::string& why) {
  Say("CheckBench: " + why);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Arguments args;
  args.games = {1000, 10000};
  if (!bench::ParseArguments(argc, argv,
                             "CheckBench [--runs N] [--games N,N,...] VARNOLTCHECK_EXE SAMPLE_DISC",
                             2, 2, 1, args))
    return 2;
  const int runs = args.runs;
  const std::vector<int>& counts = args.games;
  const std::wstring& exe = args.paths[0];
  const std::wstring& sample = args.paths[1];

  bench::Workspace workspace;
  if (!bench::MakeWorkspace(L"varnolt-check-bench", workspace)) return 1;

  struct Disc {
    std::string name;
    std::wstring folder;
  };
  std::vector<Disc> discs = {{"sample disc", sample}};
  for (int count : counts) {
    const std::wstring root = workspace.scratch() + L"\\disc" + std::to_wstring(count);
    std::wstring error;
    const LARGE_INTEGER made = bench::Now();
    if (!MakeFullDisc(root, count, sample, error)) return Fail(Narrow(error));
    Say(Format("made a disc of %d games in %.1f s", count,
               bench::MsBetween(made, bench::Now()) / 1000));
    discs.push_back({Format("%d games", count), root});
  }

  Say(Format("VarnoltCheck.exe on %s, %d runs each; time from start to exit, report to a file",
             bench::SystemName().c_str(), runs));
  int reports = 0;
  for (const Disc& disc : discs) {
    std::vector<double> times;
    SIZE_T peak = 0;
    DWORD status = 0;
    for (int run = 0; run < runs; ++run) {
      Measure measure;
      std::string error;
      // A report file of its own for each run: Wine's console host, started
      // with the check, may hold the last one a moment longer.
      const std::wstring report =
          workspace.scratch() + L"\\report" + std::to_wstring(++reports) + L".txt";
      if (!RunOnce(workspace.job.Get(), exe, disc.folder, report, measure, error))
        return Fail(error);
      times.push_back(measure.ms);
      peak = std::max(peak, measure.peakBytes);
      status = measure.status;
    }
    const bench::Summary summary = bench::Summarise(times);
    Say(Format("%-12s median %8.1f ms  min %8.1f ms  peak memory %6.1f MB  exit status %lu",
               disc.name.c_str(), summary.median, summary.min, peak / 1048576.0, status));
    // The report's summary, its last line.
    std::string text;
    if (ReadWhole(workspace.scratch() + L"\\report" + std::to_wstring(reports) + L".txt", text)) {
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      Say("             " +
          text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1));
    }
  }
  return 0;
}
