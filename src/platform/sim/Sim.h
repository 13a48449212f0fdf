// The simulated world behind platform/ in native tests: files with
// attributes, started programs, message boxes, top-level windows, sounds,
// and windows whose controls raise the same events as real ones.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Version.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/shared/WindowFit.h"

namespace sim {

struct Attributes {
  bool hidden = false;
  bool system = false;
  bool readOnly = false;
  bool reparsePoint = false;  // a link: the system does not say where it leads
};

struct Entry {
  std::wstring path;  // full path, no trailing backslash
  bool folder = false;
  Attributes attributes;
  std::string bytes;
  bool locked = false;    // held open by another program without sharing
  bool startable = true;  // a program the system can start
};

struct Message {
  std::wstring text, title;
  platform::MessageIcon icon;
};

struct Started {
  std::wstring path;
  platform::ShowState show;
};

struct SoundCall {
  std::optional<std::wstring> path;  // nothing: a null name
  platform::SoundMode mode;
};

// A timer of a window, running out at `due` on the world's clock.
struct Timer {
  platform::Form* form;
  int id;
  unsigned long due;
};

// A drive like a CD's: the first access to each file or folder costs a seek,
// a file's first read costs its transfer besides; what was read once comes
// back at once. The costs are charged to the thread that asked, on the
// world's clock: the reader's task takes that much longer, the window's
// thread is held up (which the tests count).
struct Drive {
  unsigned seekMs = 0;
  unsigned bytesPerMs = 6000;
  std::set<std::wstring> touched;           // folded paths accessed before
  std::vector<std::wstring> firstAccesses;  // in order, for the tests
  unsigned long windowWaitMs = 0;           // how long the window's thread waited
};

// A reader thread: its queue, the task it runs and when that is done.
struct Reader {
  std::deque<std::unique_ptr<platform::BackgroundTask>> waiting;
  std::unique_ptr<platform::BackgroundTask> running;
  unsigned long doneAt = 0;
  unsigned long charged = 0;  // what the running task's Run cost
};

struct World {
  std::vector<Entry> entries;  // in the order the file system enumerates them
  std::wstring executableFolder = L"D:\\";
  std::vector<std::wstring> topWindowTitles;  // topmost first
  bool soundLibraryMissing = false;

  std::vector<Message> messages;
  std::vector<Started> started;
  std::vector<SoundCall> sounds;
  std::vector<std::wstring>
      log;  // "message:", "start:", "sound:" and "exit" in the order they happened
  std::vector<std::function<void()>> waitingEvents;  // handled at the next DoEvents
  bool exited = false;
  platform::Version version = {.major = VARNOLT_VERSION_MAJOR,
                               .minor = VARNOLT_VERSION_MINOR,
                               .build = VARNOLT_VERSION_PATCH,
                               .revision = VARNOLT_VERSION_REVISION};
  std::uint32_t nextProcessId = 1000;

  // The screen: its work area (twips), and the default font's measures
  // (twips; every character of a caption as wide as every other).
  platform::Area workArea = {.left = 0, .top = 0, .width = 1600 * 15.0f, .height = 1200 * 15.0f};
  float charWidth = 6 * 15.0f, lineHeight = 13 * 15.0f;
  bool windowsCannotBeCreated = false;  // Form::Create fails

  unsigned long now = 0;  // the clock, in milliseconds; tests move it (Advance)
  std::vector<Timer> timers;
  Drive drive;
  Reader readers[2];           // by platform::ReaderThread
  Reader* onReader = nullptr;  // the reader whose task's Run is under way
};

World& TheWorld();
void ResetWorld();

// Thrown by ExitProgram so that a test sees where the program ended.
struct ProgramExit {};

void AddFolder(const std::wstring& path, Attributes attributes = {});
void AddFile(const std::wstring& path, const std::string& bytes = "x", Attributes attributes = {});
Entry* FindEntry(const std::wstring& path);
bool SameName(const std::wstring& a, const std::wstring& b);
// Windows-style wildcard match (* and ?), letter case ignored.
bool MatchesPattern(const std::wstring& name, const std::wstring& pattern);

// A window's state as a user would see it.
struct ControlState {
  std::wstring text;
  bool visible = true;
  bool enabled = true;
  std::vector<std::wstring> items;
  int selected = -1;
  int fillDepth = 0;
  std::wstring picture;                            // the file shown, "" for none
  float left = 0, top = 0, width = 0, height = 0;  // twips, whole pixels
  bool operator==(const ControlState&) const = default;
};

struct FormState {
  bool created = false;
  bool shown = false;
  bool enabled = true;
  bool activatedOnce = false;
  platform::Form* owner = nullptr;
  float width = 0, height = 0;  // outer size, twips
  std::wstring title;
  int focus = -1;
  std::vector<ControlState> controls;
  bool operator==(const FormState&) const = default;
};

const FormState& StateOf(platform::Form& form);

// Whether the simulated decoder reads these bytes as a picture: JPEG, PNG,
// BMP or GIF by their first bytes, and not cut off.
bool LooksLikePicture(const std::string& bytes);

// The simulated window frame: what the outer size adds to the client area.
constexpr float kFrameWidth = 16 * 15.0f, kFrameHeight = 39 * 15.0f;
// What a button's edges add around its caption, and a box's around a line.
constexpr float kButtonEdges = 6 * 15.0f, kBoxEdges = 6 * 15.0f;
// A list's scroll bar, and the room it leaves around an entry.
constexpr float kScrollBarWidth = 17 * 15.0f, kEntryMargins = 2 * 15.0f;

// Charges the drive's costs for an access to `path` (and to its folder)
// that reads `bytes` of it.
void AccessDisc(const std::wstring& path, std::size_t bytes = 0);

// Moves the clock on by `ms`, running out the timers and finishing the
// reader's tasks that come due on the way, in the order of their times.
void Advance(unsigned long ms);
// Whether a timer runs or the reader has a task.
bool Busy();
// The window's timer has run out.
void RaiseTimer(platform::Form& form, int timer);

// User actions.
void Click(platform::Form& form, int control);
void Select(platform::Form& form, int control, int item);
void RequestClose(platform::Form& form);
// The user drags the window's border to this outer size (twips); the
// window keeps its minimum size.
void Resize(platform::Form& form, float width, float height);
// A key pressed and released where the focus is, as the dialog manager
// handles it: Enter presses the focused or the default button, Esc the
// cancel button, Space the focused button, the arrows move a list's
// selection, Tab the focus; a window with key preview sees the release.
void PressKey(platform::Form& form, int virtualKey, int shift = 0);

}  // namespace sim
