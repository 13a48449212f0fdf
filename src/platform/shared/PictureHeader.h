// What a picture file says about itself, read before any decoder sees it: a
// decoder handed a file that claims a huge size may allocate for that size,
// or worse, and one handed a JPEG cut off short may show it half grey.
//
// The checks read the file through ByteSource, a bounded piece at a time at
// the offsets they need: a JPEG's metadata is skipped by its segment lengths,
// never read whole, and data appended after a JPEG's end is never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

// A file's bytes, read at offsets.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads `count` bytes at `offset` into `out`; false when they cannot all
  // be read.
  virtual bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const = 0;
};

// Bytes already in memory.
class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override;

 private:
  std::string_view bytes_;
};

enum class PictureFormat { None, Jpeg, Png, Bmp, Gif };

struct PictureHeader {
  PictureFormat format = PictureFormat::None;
  unsigned width = 0, height = 0;  // as stored
  // How the stored picture is turned to be seen upright, by the EXIF values:
  // 1 as stored, 2 mirrored left to right, 3 turned half round, 4 mirrored
  // top to bottom, 5 mirrored along the main diagonal, 6 turned a quarter
  // clockwise, 7 mirrored along the other diagonal, 8 turned a quarter
  // anticlockwise.
  int orientation = 1;
  // Bits of each colour channel as stored: 16 for a PNG of 16-bit channels
  // or a BMP of 64 bits a pixel, more than 8 for a JPEG of 12; 8 otherwise.
  unsigned bitsPerChannel = 8;
};

// The format, the size the picture claims and, for a JPEG, its EXIF
// orientation; format None when the file does not start as a picture in a
// format the program shows.
PictureHeader ReadPictureHeader(const ByteSource& file);

// The most pixels a picture may have to be decoded at all. A decoder may
// hold the whole picture as stored, up to four bytes a pixel (eight with
// 16-bit channels), before it is scaled: 400 MB at most, which leaves the
// 2 GiB of a 32-bit process room to spare.
unsigned long long MaxPicturePixels(const PictureHeader& header);

// Whether a picture of that claimed size may be decoded at all: at most
// MaxPicturePixels, and 65,535 pixels a side.
bool PlausiblePictureSize(const PictureHeader& header);

// Whether a JPEG is whole: its segments lead to a scan, and the scan data
// (or the later scans of a progressive JPEG) end in the end-of-image marker.
// Whatever follows that marker is not looked at.
bool JpegIsComplete(const ByteSource& file);

// The orientation an EXIF APP1 segment's data ("Exif\0\0" and a TIFF
// structure) gives, 1 when it gives none or is malformed.
int ExifOrientation(std::string_view app1);

// Whether the file may go to a decoder: a picture of a plausible size, and
// for a JPEG, complete. `header` receives what ReadPictureHeader found.
bool WorthDecoding(const ByteSource& file, PictureHeader& header);

// Whether the orientation turns the picture a quarter, so that it is shown
// with its width and height swapped.
inline bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

struct PixelPosition {
  unsigned x, y;
};

// Where the pixel (x, y) of a stored picture of width x height is seen once
// the picture is turned upright.
PixelPosition UprightPosition(int orientation, unsigned x, unsigned y, unsigned width,
                              unsigned height);

}  // namespace platform
