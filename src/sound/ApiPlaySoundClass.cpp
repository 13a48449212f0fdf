#include "sound/ApiPlaySoundClass.h"

#include "platform/Platform.h"

bool ApiPlaySoundClass::Init(const std::wstring& iPath) {
  if (IsInit) return false;
  if (platform::FindOrdinaryFile(iPath).empty()) return false;
  tSoundPath = iPath;
  if (tSoundPath.back() != L'\\') tSoundPath += L'\\';
  IsInit = true;
  return true;
}

std::int16_t ApiPlaySoundClass::AddFile(const std::wstring& aFile) {
  if (!IsInit) return kNotInitialised;
  std::wstring path = tSoundPath + aFile + L".wav";
  if (platform::FindOrdinaryFile(path).empty()) return kNoSuchFile;
  if (yFileCount == kCapacity) return kTableFull;
  ++yFileCount;
  tSoundFiles[yFileCount - 1] = std::move(path);
  return yFileCount;
}

void ApiPlaySoundClass::Play(std::int16_t yFile, platform::SoundMode mode) const {
  if (yFile < 1 || yFile > kCapacity) return;
  const std::wstring& path = tSoundFiles[static_cast<std::size_t>(yFile - 1)];
  // An empty entry stops whatever plays and plays nothing.
  platform::PlaySoundCall(path.empty() ? nullptr : path.c_str(), mode);
}

void ApiPlaySoundClass::PlaySync(std::int16_t yFile) const {
  Play(yFile, platform::SoundMode::Sync);
}

void ApiPlaySoundClass::PlayAsync(std::int16_t yFile) const {
  Play(yFile, platform::SoundMode::Async);
}

void ApiPlaySoundClass::StopFile() const {
  // A null name is the system's documented way to stop this program's sound;
  // an empty file name could make the system play its default sound instead.
  platform::PlaySoundCall(nullptr, platform::SoundMode::Sync);
}

void ApiPlaySoundClass::Free() {
  StopFile();
  for (auto& entry : tSoundFiles) entry.clear();
  IsInit = false;
}
