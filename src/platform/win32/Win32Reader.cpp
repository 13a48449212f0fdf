// The reader threads: each runs the tasks the window's thread hands it, one
// after another, and hands each back through a message to a window of its
// own on the window's thread, whose message loop then finishes it. Nothing
// here touches the program's windows from the reader thread.
#include <objbase.h>

#include <deque>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"

namespace platform {
namespace {

constexpr UINT kTasksDone = WM_APP + 1;

class Lock {
 public:
  explicit Lock(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
  ~Lock() { ::ReleaseSRWLockExclusive(&lock_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  SRWLOCK& lock_;
};

class Reader {
 public:
  // Made on the window's thread, at the first task, and kept for the run:
  // the process's end stops the thread wherever it is (a read of a slow
  // drive is never waited for).
  Reader() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &Reader::WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Varnolt.Reader";
    ::RegisterClassW(&windowClass);  // fails, harmlessly, for the second reader
    window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    thread_.Reset(::CreateThread(nullptr, 0, &Reader::ThreadMain, this, 0, nullptr));
  }

  // False when the thread or its window could not be made.
  bool Running() const { return window_ != nullptr && thread_.Valid(); }

  void Add(std::unique_ptr<BackgroundTask> task) {
    {
      Lock lock(lock_);
      waiting_.push_back(std::move(task));
    }
    ::WakeConditionVariable(&added_);
  }

 private:
  static DWORD WINAPI ThreadMain(void* self) {
    // The picture decoder is a COM object; this thread has its own COM.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<Reader*>(self)->Loop();
    return 0;
  }

  void Loop() {
    for (;;) {
      std::unique_ptr<BackgroundTask> task;
      {
        Lock lock(lock_);
        while (waiting_.empty()) ::SleepConditionVariableSRW(&added_, &lock_, INFINITE, 0);
        task = std::move(waiting_.front());
        waiting_.pop_front();
      }
      task->Run();
      {
        Lock lock(lock_);
        done_.push_back(std::move(task));
      }
      ::PostMessageW(window_, kTasksDone, 0, 0);
    }
  }

  // On the window's thread. A task's Finish may run a message loop of its
  // own, where this comes again: each task is taken out before it finishes.
  void FinishDone() {
    for (;;) {
      std::unique_ptr<BackgroundTask> task;
      {
        Lock lock(lock_);
        if (done_.empty()) return;
        task = std::move(done_.front());
        done_.pop_front();
      }
      task->Finish();
    }
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kTasksDone) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (auto* reader = reinterpret_cast<Reader*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      reader->FinishDone();
    return 0;
  }

  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE added_ = CONDITION_VARIABLE_INIT;
  std::deque<std::unique_ptr<BackgroundTask>> waiting_;
  std::deque<std::unique_ptr<BackgroundTask>> done_;
  HWND window_ = nullptr;
  win32::ScopedHandle thread_;
};

Reader* readers[2] = {};  // by ReaderThread

}  // namespace

void RunInBackground(ReaderThread thread, std::unique_ptr<BackgroundTask> task) {
  Reader*& reader = readers[thread == ReaderThread::Texts ? 0 : 1];
  if (!reader) reader = new Reader();
  if (reader->Running()) {
    reader->Add(std::move(task));
    return;
  }
  // No thread to be had: the work is done here, and finished as it would be.
  task->Run();
  task->Finish();
}

}  // namespace platform
