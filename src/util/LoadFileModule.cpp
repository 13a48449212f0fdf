#include "util/LoadFileModule.h"

#include "platform/Platform.h"
#include "util/TextDecodeModule.h"

namespace LoadFileModule {

bool LoadFile(const std::wstring& tFile, std::wstring& tText) {
  if (platform::FindOrdinaryFile(tFile).empty()) return false;
  std::string bytes;
  if (platform::ReadFileHead(tFile, kMaxTextBytes + 1, bytes) != platform::ReadStatus::Ok)
    return false;
  tText = TextDecodeModule::DecodeHead(bytes, kMaxTextBytes);
  return !tText.empty();
}

}  // namespace LoadFileModule
