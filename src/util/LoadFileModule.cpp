#include "util/LoadFileModule.h"

#include "platform/Platform.h"
#include "util/TextDecodeModule.h"

namespace LoadFileModule {

bool LoadFile(const std::wstring& tFile, std::wstring& tText) {
  if (platform::FindOrdinaryFile(tFile).empty()) return false;
  std::string bytes;
  if (platform::ReadFileHead(tFile, kMaxTextBytes, bytes) != platform::ReadStatus::Ok) return false;
  tText = TextDecodeModule::DecodeText(bytes);
  return !tText.empty();
}

}  // namespace LoadFileModule
