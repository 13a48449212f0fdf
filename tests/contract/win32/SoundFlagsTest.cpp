// How the program's sounds reach PlaySound: a missing or unreadable file is
// silence, never the system's default sound in its place, and a null name
// stops whatever the program is playing.
#include <gtest/gtest.h>

#include "platform/win32/Win32Internal.h"

// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace {

TEST(SoundFlags, AFileIsNeverReplacedByTheDefaultSound) {
  using platform::SoundMode;
  const struct {
    const wchar_t* path;
    SoundMode mode;
    DWORD flags;
  } rows[] = {
      {.path = L"stop.wav", .mode = SoundMode::Sync, .flags = SND_FILENAME | SND_NODEFAULT},
      {.path = L"start.wav",
       .mode = SoundMode::Async,
       .flags = SND_FILENAME | SND_NODEFAULT | SND_ASYNC},
      {.path = nullptr, .mode = SoundMode::Sync, .flags = 0},
      {.path = nullptr, .mode = SoundMode::Async, .flags = 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(platform::win32::SoundFlags(row.path, row.mode), row.flags) << &row - rows;
}

}  // namespace
