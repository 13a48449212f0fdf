// What the Windows test programs and benchmarks share around the programs
// they start: a job that takes every started program with it, starting a
// program in it, scratch folders, reading windows, finding a program's
// dialog windows and the main window's controls by what they are.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/ScopedWin.h"

namespace testsupport {

// Owns a handle and closes it when it goes: the program's own owner.
using Handle = platform::win32::ScopedHandle;

// A job that ends every process in it when it goes, so that no started
// program outlives the test, however that ends. Empty when it cannot be made.
class Job {
 public:
  Job();
  HANDLE Get() const { return job_.Get(); }
  explicit operator bool() const { return job_.Valid(); }

 private:
  Handle job_;
};

// A program started in a job, in its own folder. Started suspended and put
// into the job first, so that it cannot start anything outside it. Its
// handles close when this goes; the program runs until the job ends it.
class Process {
 public:
  // 0 when the program runs, else the system's error code. `arguments`
  // follow the quoted program path; `flags` go to CreateProcess; the
  // program's output goes to `output`, and it reads `input`, when given.
  DWORD Start(HANDLE job, const std::wstring& exe, const std::wstring& arguments = {},
              DWORD flags = 0, HANDLE output = nullptr, HANDLE input = nullptr);
  HANDLE Get() const { return process_.Get(); }
  DWORD Id() const { return id_; }
  bool WaitForExit(DWORD timeoutMs) const;
  bool Gone() const { return WaitForExit(0); }

 private:
  Handle process_;
  DWORD id_ = 0;
};

// Deletes `folder` (with or without a final backslash) with everything in
// it, read-only, hidden and system files too; links are removed, never
// followed. False when something stays.
bool RemoveTree(const std::wstring& folder);

// A new empty folder in the user's temporary folder whose name starts with
// `prefix`, or "" when none can be made.
std::wstring MakeScratchFolder(const std::wstring& prefix);

// Writes `bytes` to a new file or over an old one. False on any failure.
bool WriteFile(const std::wstring& path, const std::string& bytes);

// The text of a window, however long ("" when it does not answer in 5 s).
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The children of a window in z-order, which is the order of creation and of Tab.
std::vector<HWND> ChildrenOf(HWND parent);

// A visible dialog window (#32770) of the process whose title starts with
// `titlePrefix`, or nullptr.
HWND FindDialog(DWORD processId, const std::wstring& titlePrefix);

// The main window's controls, found by what they are: the list of games
// (the list box in the tab order), the description box, the picture, the
// install and close buttons (the dialog's OK and Cancel), the read-me button
// (the third button) and the label just before the list and the description.
struct MainControls {
  HWND lbGame = nullptr, lsGame = nullptr, lbDescript = nullptr, edDescript = nullptr;
  HWND btInstall = nullptr, btClose = nullptr, btReadMe = nullptr, img = nullptr;
};
MainControls FindMainControls(HWND main);

}  // namespace testsupport
