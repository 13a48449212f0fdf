// What the measuring programs share around the program they measure: the
// console output, the clock, a job that takes every started program with it,
// starting a program in it, finding its window and controls, talking to it
// with messages that time out, and closing it again.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace bench {

// A line on standard output, flushed at once so that progress shows.
void Say(const std::string& line);

// printf into a string of at most 511 characters.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

LARGE_INTEGER Now();
double MsBetween(LARGE_INTEGER from, LARGE_INTEGER to);

// "Wine 9.0" or "Windows".
std::string SystemName();

// Owns a handle; closes it when it goes.
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

// A job that ends every process in it when its last handle closes, so that
// no measured program outlives the benchmark, however that ends; nullptr
// when it cannot be made.
HANDLE MakeKillOnCloseJob();

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
  Handle job;
  std::unique_ptr<RemoveOnExit> cleanup;
  const std::wstring& scratch() const { return cleanup->folder; }
};

// Makes the job and a scratch folder named from `prefix`; empty when both
// are ready, else the error to report.
std::string MakeWorkspace(const std::wstring& prefix, Workspace& workspace);

// A program started in a job, in its own folder and without arguments.
// Started suspended and put into the job first, so that it cannot start
// anything outside it. Its handles close when this goes; the program keeps
// running until Close() or the job ends it.
class Child {
 public:
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Empty when the program runs, else why not: "cannot start NAME (error
  // 2)" or "cannot put NAME into a job (error 5)".
  std::string Start(HANDLE job, const std::wstring& exe, const std::string& name);

  HANDLE process() const { return info_.hProcess; }
  DWORD pid() const { return info_.dwProcessId; }
  bool Gone() const;

  // Asks `window` to close (WM_CLOSE) and waits for the program to end;
  // ends it when it does not within 10 s, or at once without a window.
  void Close(HWND window);

 private:
  PROCESS_INFORMATION info_ = {};
  Handle process_, thread_;
};

// Seeks the program's visible dialog window whose title starts with `title`
// (see FindDialogWindow) every Sleep(1) until it shows. Empty when it did,
// else why not: the program ended, or `deadlineMs` passed since `since`.
std::string WaitForWindow(const Child& child, const std::wstring& title, LARGE_INTEGER since,
                          double deadlineMs, HWND& window);

// The first visible child of `window` of the class `className` (case
// ignored), or nullptr.
HWND VisibleChild(HWND window, const wchar_t* className);

// SendMessage that gives up after `timeoutMs`; false when it did.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
          DWORD timeoutMs);

// Two WM_NULL round trips. A thread takes paint messages only when nothing
// else waits, so by the time the second returns, the paint that was pending
// when the first returned has been done. False when either timed out.
bool Painted(HWND window, DWORD timeoutMs);

}  // namespace bench
