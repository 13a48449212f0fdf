// A disc file read at offsets, a bounded piece at a time: the checks look at
// headers and tables, never at a whole file, whatever its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/shared/PictureHeader.h"

namespace check {

class FileBytes final : public platform::ByteSource {
 public:
  // Keeps the first `headBytes` of the file; later pieces are read when asked for.
  explicit FileBytes(std::wstring path, std::size_t headBytes = 64 * 1024);

  bool Opened() const { return opened_; }
  std::uint64_t Size() const override { return size_; }
  // Exactly `count` bytes at `offset` into `out`; false when the file is shorter.
  bool Read(std::uint64_t offset, std::size_t count, std::string& out) const;
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override;

 private:
  std::wstring path_;
  std::string head_;
  std::uint64_t size_ = 0;
  bool opened_ = false;
};

// Little-endian numbers in a piece of bytes (the caller checks the length).
inline unsigned Le16(const std::string& b, std::size_t i) {
  return static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1]) << 8;
}
inline std::uint32_t Le32(const std::string& b, std::size_t i) {
  return Le16(b, i) | static_cast<std::uint32_t>(Le16(b, i + 2)) << 16;
}

}  // namespace check
