// The thin layer between the program's logic and the operating system.
// Everything here has two implementations: win32/ (the product) and sim/
// (an in-memory world for native tests). The logic includes only this
// header and Forms.h, never <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// ---- Files -------------------------------------------------------------

// The file lookup: the bare name of the first ordinary file (not a folder,
// not hidden, not system) that matches `pattern`, in the order the file
// system enumerates them; "" when nothing matches or the search fails.
// A pattern ending in a backslash stands for every entry of that folder.
std::wstring FindOrdinaryFile(const std::wstring& pattern);

// Every ordinary file that matches `pattern`, bare names in enumeration
// order. The system matches a pattern against short (8.3) names too, so a
// name here need not itself match the pattern.
std::vector<std::wstring> ListOrdinaryFiles(const std::wstring& pattern);

// The bare names of the sub-folders of `folder` (with or without a trailing
// backslash), hidden and system folders left out, in enumeration order.
// False when the folder cannot be listed (missing, not a folder, no access).
bool ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& names);

// The order in which Explorer shows names: negative, zero or positive, like a
// comparison function. Letter case is ignored and runs of digits compare by
// their value ("Game 2" before "Game 10"); the system's collation orders the
// rest, following the user's locale. Zero for names that differ only in case.
int CompareFolderNames(const std::wstring& a, const std::wstring& b);

enum class ReadStatus { Ok, NotFound, Failed };

// What a path names: nothing, a file, or a folder.
enum class PathKind { Missing, File, Folder };
PathKind KindOfPath(const std::wstring& path);

// One entry of a folder as the system lists it.
struct FolderEntry {
  std::wstring name;
  bool folder = false;
  bool hidden = false;
  bool system = false;
  bool reparsePoint = false;  // a link or junction: may lead anywhere, even back up
  std::uint64_t size = 0;
};

// Every entry of `folder` ("." and ".." left out) in enumeration order.
// False when the folder cannot be listed (missing, not a folder, no access).
bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries);

// Reads at most `maxBytes` bytes of the file from `offset` on (fewer at its
// end, none past it). The file is closed again before the call returns.
ReadStatus ReadFileAt(const std::wstring& path, std::uint64_t offset, std::size_t maxBytes,
                      std::string& bytes);

// The file's size in bytes; false when it cannot be opened.
bool FileSize(const std::wstring& path, std::uint64_t& size);

// Reads at most `maxBytes` bytes from the start of the file. The file is
// closed again before the call returns, whatever happens.
ReadStatus ReadFileHead(const std::wstring& path, std::size_t maxBytes, std::string& bytes);

// Decodes bytes in the system's ANSI code page.
std::wstring AnsiToWide(std::string_view bytes);

// The full path of the folder that holds the program's executable, as the
// system gives it (a drive's root keeps its backslash: "D:\").
std::wstring ExecutableFolder();

// ---- Processes, windows, messages --------------------------------------

// How a started program's window first shows.
enum class ShowState { Normal, Minimized };

// Starts the program at `exePath` (a full path, no arguments) without
// waiting for it; a program that asks for administrator rights is started
// through the system's consent prompt. Returns the new process's
// identifier, 0 on failure (a declined consent included).
std::uint32_t StartProgram(const std::wstring& exePath, ShowState show);

// The icon a message box shows beside its text.
enum class MessageIcon { Error, Information };

// A modal message box with an OK button, owned by the program's active window.
void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon);

// Top-level windows, for the screen-reader check. Handles are opaque.
using WindowHandle = std::uintptr_t;
WindowHandle DesktopWindow();
WindowHandle FirstChildWindow(WindowHandle parent);
WindowHandle NextWindow(WindowHandle window);
// The window's title, at most `maxChars` - 1 characters; "" for a stale handle.
std::wstring WindowTitle(WindowHandle window, int maxChars);

// ---- Sound ---------------------------------------------------------------

// A sound played to its end before the call returns, or started and left to
// play while the program goes on.
enum class SoundMode { Sync, Async };

// The system's sound call: plays the wave file at `path`, and never the
// system's default sound in its place. A null path stops the sound that is
// playing. Returns false when the sound library cannot be loaded or the
// call fails.
bool PlaySoundCall(const wchar_t* path, SoundMode mode);

// ---- The program's own version ----------------------------------------

struct Version {
  int major, minor, build, revision;
};
// The fixed file version of the program's version resource.
Version ProgramVersion();

// ---- Work away from the window's thread -----------------------------------

// The disc may be an optical drive, where the first access to each file
// costs a seek: what reads the disc after start-up runs on one of the
// program's reader threads, so that the window's thread never waits for the
// drive.
class BackgroundTask {
 public:
  virtual ~BackgroundTask() = default;
  // On the reader thread: reads and decodes, and touches no window.
  virtual void Run() = 0;
  // Afterwards, on the window's thread, from its message loop.
  virtual void Finish() = 0;
};

// The reader threads: one reads texts, the other decodes pictures, so that
// a description never waits behind a picture.
enum class ReaderThread { Texts, Pictures };

// Queues `task` for the reader thread, which runs its tasks one after
// another in the order they came. A task is never cancelled: one whose
// result is no longer wanted leaves it unused in Finish. Called on the
// window's thread only.
void RunInBackground(ReaderThread reader, std::unique_ptr<BackgroundTask> task);

// `work` runs on the reader thread and returns a value, which `done` then
// gets on the window's thread.
template <typename Work, typename Done>
void RunInBackground(ReaderThread reader, Work work, Done done) {
  using Result = decltype(work());
  class Task final : public BackgroundTask {
   public:
    Task(Work w, Done d) : work_(std::move(w)), done_(std::move(d)) {}
    void Run() override { result_ = work_(); }
    void Finish() override { done_(std::move(result_)); }

   private:
    Work work_;
    Done done_;
    Result result_{};
  };
  RunInBackground(reader,
                  std::unique_ptr<BackgroundTask>(new Task(std::move(work), std::move(done))));
}

// ---- The program's life --------------------------------------------------

// Handles every window message that is waiting, then returns.
void DoEvents();

// Waits until a message arrives for one of the program's windows (using no
// processor time meanwhile), then returns without handling it.
void WaitForEvent();

// Runs the event loop until the process ends.
void RunEventLoop();

// Ends the process at once; nothing after it runs.
[[noreturn]] void ExitProgram();

}  // namespace platform
