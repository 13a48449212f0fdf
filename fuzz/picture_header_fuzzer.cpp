// The checks a picture file passes before any decoder sees it: what its
// header claims (JPEG, PNG, BMP, GIF), its EXIF orientation, whether that
// size may be decoded, and whether a JPEG is complete. The file is read
// through a source that counts and checks every read.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "platform/shared/PictureHeader.h"

using platform::PictureFormat;
using platform::PictureHeader;

namespace {

// The most the checks may read at once (their larger window).
constexpr std::size_t kMaxRead = 64 * 1024;

class CountingBytes final : public platform::ByteSource {
 public:
  explicit CountingBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override {
    // Every read lies inside the file and is of a bounded size.
    FUZZ_CHECK(offset <= bytes_.size() && bytes_.size() - offset >= count);
    FUZZ_CHECK(count <= kMaxRead);
    ++reads_;
    bytesRead_ += count;
    if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }
  std::size_t reads() const { return reads_; }
  std::uint64_t bytesRead() const { return bytesRead_; }

 private:
  std::string_view bytes_;
  mutable std::size_t reads_ = 0;
  mutable std::uint64_t bytesRead_ = 0;
};

// A file's reads stay near its size: each pass over it reads a byte about
// once (an EXIF segment is looked at, then read whole).
void CheckReadsBounded(const CountingBytes& source, std::size_t size, int passes) {
  FUZZ_CHECK(source.bytesRead() <= static_cast<std::uint64_t>(passes) * size + 64);
  FUZZ_CHECK(source.reads() <= size / 2 + 8);
}

bool SameHeader(const PictureHeader& a, const PictureHeader& b) {
  return a.format == b.format && a.width == b.width && a.height == b.height &&
         a.orientation == b.orientation;
}

void CheckUpright(int orientation, unsigned width, unsigned height, unsigned x, unsigned y) {
  const bool swaps = platform::OrientationSwapsSides(orientation);
  const unsigned shownWidth = swaps ? height : width, shownHeight = swaps ? width : height;
  const platform::PixelPosition p = platform::UprightPosition(orientation, x, y, width, height);
  FUZZ_CHECK(p.x < shownWidth && p.y < shownHeight);
}

// On a small picture every orientation puts each pixel on a place of its own.
void CheckUprightIsOneToOne(int orientation, unsigned width, unsigned height) {
  const bool swaps = platform::OrientationSwapsSides(orientation);
  const unsigned shownWidth = swaps ? height : width;
  std::vector<bool> taken(std::size_t{width} * height, false);
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      const platform::PixelPosition p = platform::UprightPosition(orientation, x, y, width, height);
      const std::size_t at = std::size_t{p.y} * shownWidth + p.x;
      FUZZ_CHECK(at < taken.size() && !taken[at]);
      taken[at] = true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const CountingBytes file(bytes);
  const PictureHeader header = platform::ReadPictureHeader(file);
  CheckReadsBounded(file, size, 2);

  if (header.format == PictureFormat::None) FUZZ_CHECK(SameHeader(header, PictureHeader()));
  FUZZ_CHECK(header.orientation >= 1 && header.orientation <= 8);
  if (header.format != PictureFormat::Jpeg) FUZZ_CHECK(header.orientation == 1);
  // The format is the one the first bytes name.
  if (header.format == PictureFormat::Jpeg) FUZZ_CHECK(bytes.substr(0, 3) == "\xFF\xD8\xFF");
  if (header.format == PictureFormat::Png) FUZZ_CHECK(bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n");
  if (header.format == PictureFormat::Bmp) FUZZ_CHECK(bytes.substr(0, 2) == "BM");
  if (header.format == PictureFormat::Gif) FUZZ_CHECK(bytes.substr(0, 3) == "GIF");

  // Nothing that claims more than 100 MP or 65,535 pixels a side passes.
  if (platform::PlausiblePictureSize(header)) {
    FUZZ_CHECK(header.format != PictureFormat::None);
    FUZZ_CHECK(header.width >= 1 && header.width <= 65535);
    FUZZ_CHECK(header.height >= 1 && header.height <= 65535);
    FUZZ_CHECK(static_cast<unsigned long long>(header.width) * header.height <= 100000000ull);
    // Any pixel of it turned upright stays in the picture turned upright.
    const unsigned x = size >= 2 ? (data[size - 1] | data[size - 2] << 8) % header.width : 0;
    const unsigned y = size >= 4 ? (data[size - 3] | data[size - 4] << 8) % header.height : 0;
    for (int o = 1; o <= 8; ++o) {
      CheckUpright(o, header.width, header.height, x, y);
      CheckUpright(o, header.width, header.height, header.width - 1, header.height - 1);
      CheckUprightIsOneToOne(o, 1 + header.width % 5, 1 + header.height % 4);
    }
  }

  // What EXIF says is always one of the eight orientations.
  const int exif = platform::ExifOrientation(bytes);
  FUZZ_CHECK(exif >= 1 && exif <= 8);
  if (size < 14) FUZZ_CHECK(exif == 1);

  // A JPEG is complete only with an end marker after its first scan, and
  // the check reads within the file, each byte about once.
  const CountingBytes jpeg(bytes);
  const bool complete = platform::JpegIsComplete(jpeg);
  CheckReadsBounded(jpeg, size, 3);
  if (complete) {
    FUZZ_CHECK(bytes.substr(0, 2) == "\xFF\xD8");
    FUZZ_CHECK(bytes.find("\xFF\xD9", 2) != std::string_view::npos);
    FUZZ_CHECK(bytes.find("\xFF\xDA", 2) != std::string_view::npos);
  }

  // Whatever follows a file changes nothing once the header (or the end of
  // a complete JPEG) was found: cameras append data after a JPEG's end.
  std::string longer(bytes);
  longer.append(bytes.rbegin(), bytes.rend());
  longer += std::string("\xFF\xD9\xFF\xD8\xFF\xDA\x00\x02", 8);
  const CountingBytes longerFile(longer);
  if (header.format != PictureFormat::None)
    FUZZ_CHECK(SameHeader(platform::ReadPictureHeader(longerFile), header));
  if (complete) FUZZ_CHECK(platform::JpegIsComplete(longerFile));

  // What goes to a decoder is a plausible picture, and a JPEG only whole.
  PictureHeader worth;
  const CountingBytes again(bytes);
  if (platform::WorthDecoding(again, worth)) {
    FUZZ_CHECK(platform::PlausiblePictureSize(worth));
    FUZZ_CHECK(worth.format != PictureFormat::Jpeg || complete);
  }
  FUZZ_CHECK(SameHeader(worth, header));
  return 0;
}
