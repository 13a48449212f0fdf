// The checks a picture file passes before any decoder sees it: what its
// header claims (JPEG, PNG, BMP, GIF), whether that size may be decoded,
// and whether a JPEG is complete.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/PictureHeader.h"

using platform::PictureFormat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::PictureHeader header = platform::ReadPictureHeader(bytes);

  if (header.format == PictureFormat::None) FUZZ_CHECK(header.width == 0 && header.height == 0);
  // The format is the one the first bytes name.
  if (header.format == PictureFormat::Jpeg) FUZZ_CHECK(bytes.substr(0, 2) == "\xFF\xD8");
  if (header.format == PictureFormat::Png) FUZZ_CHECK(bytes.substr(1, 3) == "PNG");
  if (header.format == PictureFormat::Bmp) FUZZ_CHECK(bytes.substr(0, 2) == "BM");
  if (header.format == PictureFormat::Gif) FUZZ_CHECK(bytes.substr(0, 3) == "GIF");

  // Nothing that claims more than 100 MP or 65,535 pixels a side passes.
  if (platform::PlausiblePictureSize(header)) {
    FUZZ_CHECK(header.format != PictureFormat::None);
    FUZZ_CHECK(header.width >= 1 && header.width <= 65535);
    FUZZ_CHECK(header.height >= 1 && header.height <= 65535);
    FUZZ_CHECK(static_cast<unsigned long long>(header.width) * header.height <= 100000000ull);
  }

  // A JPEG's tail is complete only with its end marker in it.
  const bool complete = platform::JpegTailIsComplete(bytes);
  FUZZ_CHECK(complete == (bytes.find("\xFF\xD9") != std::string_view::npos));

  // A header once found is decided by the bytes read so far: more of the
  // file changes nothing (the reader reads only a file's first bytes).
  if (header.format != PictureFormat::None) {
    const platform::PictureHeader longer =
        platform::ReadPictureHeader(std::string(bytes) + std::string(64, '\xFF'));
    FUZZ_CHECK(longer.format == header.format && longer.width == header.width &&
               longer.height == header.height);
  }
  return 0;
}
