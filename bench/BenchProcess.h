// What the measuring programs share around the program they measure: the
// console output, the clock, a job that takes every started program with it,
// starting a program in it, finding its window and controls, talking to it
// with messages that time out, and closing it again.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace bench {

// The pause between two measured runs: it lets the last program's windows
// and files go.
constexpr DWORD kPauseBetweenRunsMs = 250;

// A line on standard output, flushed at once so that progress shows.
void Say(const std::string& line);

// printf into a string of at most 511 characters.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

LARGE_INTEGER Now();
double MsBetween(LARGE_INTEGER from, LARGE_INTEGER to);

// "Wine 9.0" or "Windows".
std::string SystemName();

using testsupport::Handle;

// The full path of an existing file, or "" when there is none.
std::wstring ExistingFile(const std::wstring& path);

// Removes `folder` with everything in it when it goes, and says `warning`
// when something stays.
struct RemoveOnExit {
  std::wstring folder;
  std::string warning;
  ~RemoveOnExit();
};

// What each measuring run stands on: a kill-on-close job for the programs
// it starts, and a scratch folder removed with everything in it when the run
// ends.
struct Workspace {
  testsupport::Job job;
  std::unique_ptr<RemoveOnExit> cleanup;
  const std::wstring& scratch() const { return cleanup->folder; }
};

// What a benchmark is given: options, each with a value, over the defaults
// set here, and then the paths it works on.
struct Arguments {
  int runs = 5;            // --runs N: 1 to 1000
  std::vector<int> games;  // --games N,N,...
  int seconds = 5;         // --seconds S: 1 to 600
  int deadline = 60;       // --deadline S: 1 to 3600
  std::wstring pictures;   // --pictures FOLDER
  std::string texts;       // --texts WORD: only what is labelled with it
  std::vector<std::wstring> paths;
};
// Reads a benchmark's command line into `args` by its `usage` ("Name
// [--runs N] --pictures FOLDER PROGRAM ..."): the options it names are taken,
// those not in brackets must be given. There must be `paths` to `maxPaths`
// paths; the first `programs` of them are made the full paths of existing
// files. Standard output is set to plain \n for whoever reads the figures.
// False, with the usage said, on anything else.
bool ParseArguments(int argc, wchar_t** argv, const char* usage, std::size_t paths,
                    std::size_t maxPaths, std::size_t programs, Arguments& args);

// A path or name for the console: ASCII kept, everything else '?'.
std::string Narrow(const std::wstring& text);

// Makes the job and a scratch folder named from `prefix`; false, with the
// error said, when either cannot be made.
bool MakeWorkspace(const std::wstring& prefix, Workspace& workspace);

// A program started in a job, in its own folder and without arguments
// (see testsupport::Process); it keeps running until Close() or the job
// ends it.
class Child : public testsupport::Process {
 public:
  // Empty when the program runs, else why not: "cannot start NAME (error 2)".
  std::string Start(HANDLE job, const std::wstring& exe, const std::string& name);
  HANDLE process() const { return Get(); }
  DWORD pid() const { return Id(); }

  // Starts the program (see Start) at `started` and waits for its window
  // (see WaitForWindow) until `deadlineMs` after; empty when it shows, else
  // why not, and the program is ended.
  std::string StartAndWait(HANDLE job, const std::wstring& exe, const std::wstring& title,
                           double deadlineMs, LARGE_INTEGER& started, HWND& window);

  // Asks `window` to close (WM_CLOSE) and waits for the program to end;
  // ends it when it does not within 10 s, or at once without a window.
  void Close(HWND window);
};

// Seeks the program's visible dialog window whose title starts with `title`
// every Sleep(1) until it shows. Empty when it did, else why not: the
// program ended, or `deadlineMs` passed since `since`.
std::string WaitForWindow(const Child& child, const std::wstring& title, LARGE_INTEGER since,
                          double deadlineMs, HWND& window);

// SendMessage that gives up after `timeoutMs`; false when it did.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
          DWORD timeoutMs);

// Two WM_NULL round trips. A thread takes paint messages only when nothing
// else waits, so by the time the second returns, the paint that was pending
// when the first returned has been done. False when either timed out.
bool Painted(HWND window, DWORD timeoutMs);

}  // namespace bench
