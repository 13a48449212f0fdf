// The sounds the program plays and the pictures it shows: whether each will.
#include <string>

#include "check/Checker.h"
#include "check/FileBytes.h"
#include "check/WaveFormat.h"
#include "platform/shared/PictureHeader.h"
#include "startup/DiscFilesModule.h"

namespace check {

using namespace MainModule;
using namespace DiscFilesModule;

void Checker::Sounds() {
  for (const wchar_t* name : {kSoundClick, kSoundLoad, kSoundStart, kSoundStop}) {
    const std::wstring file = tAutorunPath + name + L".wav";
    if (sound_.AddFile(name) == ApiPlaySoundClass::kNoSuchFile) {
      if (!HiddenFile(file)) Add(Kind::SoundMissing, file, name);
      continue;
    }
    const WaveFacts wave = ExamineWave(FileBytes(file));
    switch (wave.verdict) {
      case WaveVerdict::Playable:
        break;
      case WaveVerdict::NotWave:
        Add(Kind::SoundNotWave, file, name);
        break;
      case WaveVerdict::NoFormat:
        Add(Kind::SoundNoFormat, file, name);
        break;
      case WaveVerdict::NoSound:
        Add(Kind::SoundSilent, file, name);
        break;
      case WaveVerdict::UnknownFormat:
      case WaveVerdict::BadFormat:
        Add(Kind::SoundFormat, file, name, wave.formatTag);
        break;
    }
  }
}

void Checker::Screenshot(const std::wstring& folder) {
  const std::wstring file = folder + kScreenshotFile;
  // The picture is opened by its path, hidden or not.
  if (platform::KindOfPath(file) != platform::PathKind::File) {
    const std::wstring near =
        NearName(folder, {L"screenshot.jpeg", L"screenshot.png", L"screenshot.bmp",
                          L"screenshot.gif", L"screenshot.jpg.jpg", L"screenshot.jpg.txt"});
    if (near.empty())
      Add(Kind::ScreenshotMissing, file);
    else
      Add(Kind::Misnamed, folder + near, kScreenshotFile);
    return;
  }
  const FileBytes bytes(file);
  if (!bytes.Opened()) {
    Add(Kind::ScreenshotUnreadable, file);
    return;
  }
  platform::PictureHeader header;
  if (platform::WorthDecoding(bytes, header)) return;
  if (header.format == platform::PictureFormat::None || header.width == 0 || header.height == 0)
    Add(Kind::ScreenshotNotPicture, file);
  else if (!platform::PlausiblePictureSize(header))
    Add(Kind::ScreenshotTooLarge, file, {},
        static_cast<long long>(platform::MaxPicturePixels(header) / 1000000));
  else
    Add(Kind::ScreenshotCutOff, file);
}

}  // namespace check
