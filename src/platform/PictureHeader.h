// What a picture file says about itself in its first bytes, read before any
// decoder sees it: a decoder handed a file that claims a huge size may
// allocate for that size, or worse.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

enum class PictureFormat { None, Jpeg, Png, Bmp, Gif };

struct PictureHeader {
  PictureFormat format = PictureFormat::None;
  unsigned width = 0, height = 0;
};

// How much of a file PictureHeader needs at most (a JPEG's frame header may
// follow large metadata segments).
constexpr std::size_t kPictureHeaderBytes = 256 * 1024;

// The format and the size the picture claims; format None when the bytes
// are not the start of a picture in a format the program shows.
PictureHeader ReadPictureHeader(std::string_view bytes);

// Whether a picture of that claimed size may be decoded at all.
bool PlausiblePictureSize(const PictureHeader& header);

// Whether a JPEG file's last bytes hold its end-of-image marker (a few bytes
// of padding may follow): a file cut off short shows no picture.
bool JpegTailIsComplete(std::string_view lastBytes);

}  // namespace platform
