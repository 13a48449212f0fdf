#include "check/FileBytes.h"

#include "platform/Platform.h"

namespace check {

FileBytes::FileBytes(std::wstring path, std::size_t headBytes) : path_(std::move(path)) {
  opened_ = platform::FileSize(path_, size_) &&
            platform::ReadFileHead(path_, headBytes, head_) == platform::ReadStatus::Ok;
}

bool FileBytes::Read(std::uint64_t offset, std::size_t count, std::string& out) const {
  if (!opened_ || offset > size_ || size_ - offset < count) return false;
  if (offset + count <= head_.size()) {
    out.assign(head_, static_cast<std::size_t>(offset), count);
    return true;
  }
  return platform::ReadFileAt(path_, offset, count, out) == platform::ReadStatus::Ok &&
         out.size() == count;
}

bool FileBytes::Read(std::uint64_t offset, std::size_t count, unsigned char* out) const {
  std::string piece;
  if (!Read(offset, count, piece)) return false;
  piece.copy(reinterpret_cast<char*>(out), count);
  return true;
}

}  // namespace check
