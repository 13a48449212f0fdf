// A player for up to 255 numbered wave files that lie in one folder.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

class ApiPlaySoundClass {
 public:
  // Refusals of AddFile.
  static constexpr std::int16_t kNotInitialised = 0;
  static constexpr std::int16_t kNoSuchFile = -1;
  static constexpr std::int16_t kTableFull = -2;
  static constexpr int kCapacity = 255;

  bool IsInit = false;

  // Accepts `iPath` (a folder, ending in a backslash, that holds at least one
  // ordinary file) once; false for anything else.
  bool Init(const std::wstring& iPath);
  // Registers `<folder><aFile>.wav`; the new sound number, or a refusal.
  std::int16_t AddFile(const std::wstring& aFile);
  void PlaySync(std::int16_t yFile) const;
  void PlayAsync(std::int16_t yFile) const;
  void StopFile() const;
  void Free();

 private:
  void Play(std::int16_t yFile, platform::SoundMode mode) const;

  std::array<std::wstring, kCapacity> tSoundFiles;  // entry n - 1 holds sound n
  std::uint8_t yFileCount = 0;
  std::wstring tSoundPath;
};
