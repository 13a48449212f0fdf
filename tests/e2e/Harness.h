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

// A disc folder under the temporary folder, removed when the object goes.
class Disc {
 public:
  // A bare folder with only Varnolt.exe in it.
  explicit Disc(const std::wstring& name);
  // A usable disc: the four sounds, the control file (bytes as given) and
  // the game folders.
  Disc(const std::wstring& name, const std::string& ini, const std::vector<std::wstring>& games);
  ~Disc() { testsupport::RemoveTree(root_); }
  Disc(const Disc&) = delete;
  Disc& operator=(const Disc&) = delete;

  const std::wstring& Root() const { return root_; }  // ends in a backslash
  void AddFolder(const std::wstring& relative, DWORD attributes = 0) const;
  void AddFile(const std::wstring& relative, const std::string& bytes, DWORD attributes = 0) const;
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

  DWORD ProcessId() const { return process_.Id(); }
  // The top-level window of the program with this class and title.
  HWND WaitForWindow(const wchar_t* className, const std::wstring& title,
                     DWORD timeoutMs = 15000) const;
  // The main window (its title is "Varnolt", with the version once active).
  HWND MainWindow(DWORD timeoutMs = 15000) const;
  // The main window, once start-up has returned and its message loop runs.
  HWND WaitUntilIdle(DWORD timeoutMs = 15000) const;
  bool WaitForExit(DWORD timeoutMs = 15000) const { return process_.WaitForExit(timeoutMs); }
  // How many processes the program's job holds (the program and what it started).
  int ProcessesInJob() const { return job_.Processes(); }

 private:
  HWND Find(const wchar_t* className, const std::wstring& title, bool prefix,
            DWORD timeoutMs) const;

  testsupport::Job job_;
  testsupport::Process process_;
};

std::wstring TextOf(HWND hwnd);  // the whole text, however long
using testsupport::ClassOf;
using testsupport::FindMainControls;
using testsupport::MainControls;
// The children of a window in z-order, which is the order of creation and of Tab.
std::vector<HWND> ChildrenOf(HWND parent);
std::vector<std::wstring> ListItems(HWND list);
// Whether a message box shows an icon.
bool HasIcon(HWND box);
// The window that has the keyboard focus in the program's thread.
HWND FocusOf(HWND window);

// Types a key as the keyboard does (through the system's input queue, so
// that the program sees Shift, Ctrl and Alt held), into `window`, which is
// brought to the foreground first; returns once the program has handled it.
void TypeKey(HWND window, WORD key, std::initializer_list<WORD> held = {});
// Waits until the program that owns `window` has handled what is queued.
void Settle(HWND window);

// The name a screen reader speaks for the control (COM must be set up).
std::wstring SpokenName(HWND control);

// The colours of the test pictures, and of the picture box left empty (in the
// order of their names).
enum class Colour { Red, Lime, Blue, Yellow, Grey, Background, Other };
const char* Name(Colour c);
// The colour shown on the screen at (x, y).
Colour ColourOnScreen(int x, int y);

std::string ToUtf8(const std::wstring& text);
std::string ToCp1251(const std::wstring& text);

}  // namespace e2e
