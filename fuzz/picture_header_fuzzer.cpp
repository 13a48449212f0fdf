// The checks a picture file passes before any decoder sees it: what its
// header claims (JPEG, PNG, BMP, GIF), its EXIF orientation, whether that
// size may be decoded, and whether a JPEG is complete. The file is read
// through a source that checks every read and counts what it reads.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/shared/PictureHeader.h"

using platform::PictureFormat;
using platform::PictureHeader;

namespace {

class CountingBytes final : public platform::ByteSource {
 public:
  explicit CountingBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  // Every read lies inside the file and is at most the checks' larger window.
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override {
    FUZZ_CHECK(offset <= bytes_.size() && bytes_.size() - offset >= count && count <= 64 * 1024);
    ++reads_;
    bytesRead_ += count;
    if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }
  // Each pass over the file reads a byte about once (an EXIF segment is
  // looked at, then read whole), in few reads.
  void CheckReadsBounded(int passes) const {
    FUZZ_CHECK(bytesRead_ <= passes * bytes_.size() + 64 && reads_ <= bytes_.size() / 2 + 8);
  }

 private:
  std::string_view bytes_;
  mutable std::size_t reads_ = 0;
  mutable std::size_t bytesRead_ = 0;
};

bool SameHeader(const PictureHeader& a, const PictureHeader& b) {
  return a.format == b.format && a.width == b.width && a.height == b.height &&
         a.orientation == b.orientation;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const CountingBytes file(bytes);
  const PictureHeader header = platform::ReadPictureHeader(file);
  file.CheckReadsBounded(2);

  // The format is the one the first bytes name; only a JPEG is turned.
  if (header.format == PictureFormat::Jpeg) FUZZ_CHECK(bytes.starts_with("\xFF\xD8\xFF"));
  if (header.format == PictureFormat::Png) FUZZ_CHECK(bytes.starts_with("\x89PNG\r\n\x1A\n"));
  if (header.format == PictureFormat::Bmp) FUZZ_CHECK(bytes.starts_with("BM"));
  if (header.format == PictureFormat::Gif) FUZZ_CHECK(bytes.starts_with("GIF"));
  if (header.format == PictureFormat::None) FUZZ_CHECK(SameHeader(header, PictureHeader()));
  FUZZ_CHECK(header.orientation >= 1 && header.orientation <= 8);
  if (header.format != PictureFormat::Jpeg) FUZZ_CHECK(header.orientation == 1);

  // Nothing that claims more than 100 MP or 65,535 pixels a side passes.
  if (platform::PlausiblePictureSize(header)) {
    FUZZ_CHECK(header.format != PictureFormat::None && header.width >= 1 && header.height >= 1);
    FUZZ_CHECK(header.width <= 65535 && header.height <= 65535);
    FUZZ_CHECK(static_cast<unsigned long long>(header.width) * header.height <= 100000000ull);
    // Its far corner turned upright stays in the picture turned upright.
    const unsigned w = header.width, h = header.height;
    for (int o = 1; o <= 8; ++o) {
      const bool swaps = platform::OrientationSwapsSides(o);
      const platform::PixelPosition p = platform::UprightPosition(o, w - 1, h - 1, w, h);
      FUZZ_CHECK(p.x < (swaps ? h : w) && p.y < (swaps ? w : h));
    }
  }
  // What EXIF says is always one of the eight orientations.
  const int exif = platform::ExifOrientation(bytes);
  FUZZ_CHECK(exif >= 1 && exif <= 8 && (size >= 14 || exif == 1));

  // A JPEG is complete only with an end marker after its first scan.
  const CountingBytes jpeg(bytes);
  const bool complete = platform::JpegIsComplete(jpeg);
  jpeg.CheckReadsBounded(3);
  if (complete)
    FUZZ_CHECK(bytes.starts_with("\xFF\xD8") && bytes.find("\xFF\xD9", 2) != bytes.npos &&
               bytes.find("\xFF\xDA", 2) != bytes.npos);

  // Whatever follows a file changes nothing once the header (or the end of
  // a complete JPEG) was found: cameras append data after a JPEG's end.
  std::string longer(bytes);
  longer.append(bytes.rbegin(), bytes.rend());
  longer += std::string("\xFF\xD9\xFF\xD8\xFF\xDA\x00\x02", 8);
  if (header.format != PictureFormat::None)
    FUZZ_CHECK(SameHeader(platform::ReadPictureHeader(CountingBytes(longer)), header));
  if (complete) FUZZ_CHECK(platform::JpegIsComplete(CountingBytes(longer)));

  // What goes to a decoder is a plausible picture, and a JPEG only whole.
  PictureHeader worth;
  if (platform::WorthDecoding(CountingBytes(bytes), worth))
    FUZZ_CHECK(platform::PlausiblePictureSize(worth) &&
               (worth.format != PictureFormat::Jpeg || complete));
  FUZZ_CHECK(SameHeader(worth, header));
  return 0;
}
