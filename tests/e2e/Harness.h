// The end-to-end test driver's tools: disc folders built on the real file
// system, the real Varnolt.exe started in them, and its windows read and
// driven from outside, as a user and a screen reader would.
#pragma once

#include <windows.h>
// After windows.h: COM, which SpokenName needs set up.
#include <objbase.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace e2e {

// The folder holding the driver, Varnolt.exe and recorder.exe.
std::wstring BuildFolder();

// A disc: a new folder under the temporary folder whose name starts with
// `name`, removed when the object goes.
class Disc {
 public:
  // Varnolt.exe, the four sounds, the control file (bytes as given) and the
  // game folders.
  Disc(const std::wstring& name, const std::string& ini, const std::vector<std::wstring>& games);
  // Never the drive's root, where no folder could be made.
  ~Disc() {
    if (root_.size() > 1) testsupport::RemoveTree(root_);
  }
  Disc(const Disc&) = delete;
  Disc& operator=(const Disc&) = delete;

  const std::wstring& Root() const { return root_; }  // ends in a backslash
  void AddFolder(const std::wstring& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
  void AddFile(const std::wstring& relative, const std::string& bytes,
               DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
  // Puts the recorder at `relative` (for example "nvda\\nvda.exe").
  void AddRecorder(const std::wstring& relative) const;
  // How the recorder at `relative` was started: its show state, a blank and
  // its command line ("2 \"C:\\...\""); waits up to `waitMs` for it, "" when
  // it has not run.
  std::wstring Recorded(const std::wstring& relative, DWORD waitMs = 0) const;

 private:
  std::wstring root_;
};

// A running Varnolt.exe, in a job that ends it and its children with it.
class Program {
 public:
  explicit Program(const Disc& disc) : Program(disc.Root()) {}
  // Varnolt.exe in `folder` (which ends in a backslash), started there.
  explicit Program(const std::wstring& folder);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The program's dialog window whose title starts with `titlePrefix`, once
  // it shows ("Varnolt" for the main window); nullptr when the program ends
  // or `timeoutMs` passes first.
  HWND Window(const std::wstring& titlePrefix, DWORD timeoutMs = 15000) const;
  // The main window, once start-up has returned and its message loop runs.
  HWND WaitUntilIdle(DWORD timeoutMs = 15000) const;
  bool WaitForExit(DWORD timeoutMs = 15000) const { return process_.WaitForExit(timeoutMs); }

 private:
  testsupport::Job job_;
  testsupport::Process process_;
};

using testsupport::ChildrenOf;
using testsupport::ClassOf;
using testsupport::FindMainControls;
using testsupport::MainControls;
using testsupport::TextOf;
std::vector<std::wstring> ListItems(HWND list);
// Whether a message box shows an icon.
bool HasIcon(HWND box);
// The window that has the keyboard focus in the program's thread.
HWND FocusOf(HWND window);

// Every window that takes the keyboard focus while it watches, in order,
// as a screen reader hears of them (the system's focus events).
class FocusWatch {
 public:
  FocusWatch();
  ~FocusWatch();
  FocusWatch(const FocusWatch&) = delete;
  FocusWatch& operator=(const FocusWatch&) = delete;
  // What was seen so far: the events are taken in for `ms` first.
  std::vector<HWND> Seen(DWORD ms = 300);

 private:
  HWINEVENTHOOK hook_;
};

// Types a key as the keyboard does (through the system's input queue, so
// that the program sees Shift, Ctrl and Alt held), into `window`, which is
// brought to the foreground first; returns once the program has handled it.
void TypeKey(HWND window, WORD key, std::initializer_list<WORD> held = {});
// Waits until the program that owns `window` has handled what is queued.
void Settle(HWND window);
// The control's text once it is `expected`, or what it is after `timeoutMs`:
// a selection's details come from the disc a moment after the key.
std::wstring TextOnceShown(HWND control, const std::wstring& expected, DWORD timeoutMs = 5000);

// The name a screen reader speaks for the control (COM must be set up).
std::wstring SpokenName(HWND control);

// The colour shown on the screen at (x, y): the name of a test picture's
// colour ("red", "lime", "blue", "yellow", "grey"), "background" for the
// empty picture box, or "other".
std::string ColourOnScreen(int x, int y);

std::string ToUtf8(const std::wstring& text);
std::string ToCp1251(const std::wstring& text);

}  // namespace e2e
