// Small owners for Win32 handles: each closes what it holds, once.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace platform::win32 {

template <typename T, typename Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(T value) : value_(value) {}
  ~Scoped() { Reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : value_(other.Release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = other.Release();
    }
    return *this;
  }
  T Get() const { return value_; }
  bool Valid() const { return Traits::Valid(value_); }
  T Release() {
    T v = value_;
    value_ = Traits::Invalid();
    return v;
  }
  void Reset(T value = Traits::Invalid()) {
    if (Traits::Valid(value_)) Traits::Close(value_);
    value_ = value;
  }

 private:
  T value_ = Traits::Invalid();
};

struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct GdiTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static bool Valid(HGDIOBJ h) { return h != nullptr; }
  static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct BitmapTraits {
  static HBITMAP Invalid() { return nullptr; }
  static bool Valid(HBITMAP h) { return h != nullptr; }
  static void Close(HBITMAP h) { ::DeleteObject(h); }
};

using ScopedFile = Scoped<HANDLE, FileHandleTraits>;
using ScopedHandle = Scoped<HANDLE, HandleTraits>;
using ScopedFind = Scoped<HANDLE, FindHandleTraits>;
using ScopedGdiObject = Scoped<HGDIOBJ, GdiTraits>;
using ScopedBitmap = Scoped<HBITMAP, BitmapTraits>;

// A COM interface pointer that releases what it holds.
template <typename I>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  I* Get() const { return p_; }
  I* operator->() const { return p_; }
  I** Put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

// Loads a DLL of the system from the system folder only, never from the
// program's own folder (which is the disc).
HMODULE LoadSystemLibrary(const wchar_t* name);

// Removes the program's folder and the current folder from the DLL search.
void HardenDllSearch();
// What the program's process needs before its first window: the DLL search
// hardened, no "insert a disk" boxes, COM for this thread, and the visual
// styles of Common Controls 6 (which the manifest selects).
void PrepareProcess();

// COM for the calling thread (a single-threaded apartment), set up on the
// first call; false when the thread cannot have it. Everything that makes a
// COM object asks this first: the picture decoder and the accessibility
// annotations of the windows' controls.
bool EnsureCom();

}  // namespace platform::win32
