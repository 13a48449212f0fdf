#include "util/LoadFileModule.h"

#include "platform/Platform.h"
#include "util/TextDecodeModule.h"

namespace LoadFileModule {

platform::ReadStatus ReadTextHead(const std::wstring& tFile, std::size_t limit, TextHead& head,
                                  std::string* kept) {
  std::string bytes;
  // One byte beyond the limit tells a file cut there from one that ends there.
  const platform::ReadStatus status = platform::ReadFileHead(tFile, limit + 1, bytes);
  if (status != platform::ReadStatus::Ok) return status;
  head.cut = bytes.size() > limit;
  if (head.cut) bytes.resize(limit);
  const auto end = head.cut ? TextDecodeModule::TextEnd::Cut : TextDecodeModule::TextEnd::Whole;
  head.encoding = TextDecodeModule::DetectEncoding(bytes, end);
  head.text = TextDecodeModule::DecodeText(bytes, end);
  if (kept != nullptr) *kept = std::move(bytes);
  return status;
}

bool LoadFileHead(const std::wstring& tFile, TextHead& head, std::string* bytes) {
  return !platform::FindOrdinaryFile(tFile).empty() &&
         ReadTextHead(tFile, kMaxTextBytes, head, bytes) == platform::ReadStatus::Ok;
}

bool LoadFile(const std::wstring& tFile, std::wstring& tText) {
  TextHead head;
  if (!LoadFileHead(tFile, head)) return false;
  tText = std::move(head.text);
  return !tText.empty();
}

}  // namespace LoadFileModule
