#include "platform/shared/PictureHeader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr unsigned kMaxSide = 65535;
constexpr unsigned long long kMaxPixels = 100ull * 1000 * 1000;
constexpr unsigned long long kMaxDeepPixels = kMaxPixels / 2;  // 16-bit channels
// How much a check reads from the file at once: little while it walks from
// segment to segment (a long segment is skipped, not read), more while it
// looks through coded data.
constexpr std::size_t kSegmentWindowBytes = 4 * 1024;
constexpr std::size_t kScanWindowBytes = 64 * 1024;

unsigned Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }
unsigned Big16(std::string_view b, std::size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
unsigned Big32(std::string_view b, std::size_t i) { return Big16(b, i) << 16 | Big16(b, i + 2); }
unsigned Little16(std::string_view b, std::size_t i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
unsigned Little32(std::string_view b, std::size_t i) {
  return Little16(b, i) | Little16(b, i + 2) << 16;
}

// The file seen through a window of a few bytes, moved as the checks go:
// reads near each other cost one read of the file.
class Reader {
 public:
  Reader(const ByteSource& source, std::size_t windowBytes)
      : source_(source), size_(source.Size()), windowBytes_(windowBytes) {}

  std::uint64_t Size() const { return size_; }

  // The byte at `at`; -1 past the end or when it cannot be read.
  int At(std::uint64_t at) { return Load(at) ? window_[at - start_] : -1; }

  bool Big16At(std::uint64_t at, unsigned& value) {
    const int high = At(at), low = At(at + 1);
    if (high < 0 || low < 0) return false;
    value = static_cast<unsigned>(high) << 8 | static_cast<unsigned>(low);
    return true;
  }

  // `count` bytes at `at`, read past the window.
  bool Copy(std::uint64_t at, std::size_t count, std::string& out) {
    if (at > size_ || size_ - at < count) return false;
    out.resize(count);
    return count == 0 || source_.Read(at, count, reinterpret_cast<unsigned char*>(&out[0]));
  }

  // The position of the first 0xFF byte at or after `at`; Size() when there
  // is none or the file cannot be read.
  std::uint64_t FindFF(std::uint64_t at) {
    while (Load(at)) {
      const unsigned char* from = &window_[at - start_];
      const std::size_t left = static_cast<std::size_t>(start_ + length_ - at);
      if (const void* hit = std::memchr(from, 0xFF, left))
        return at + static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - from);
      at += left;
    }
    return size_;
  }

 private:
  bool Load(std::uint64_t at) {
    if (at >= start_ && at - start_ < length_) return true;
    if (at >= size_) return false;
    if (window_.empty()) window_.resize(windowBytes_);
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(windowBytes_, size_ - at));
    length_ = 0;
    if (!source_.Read(at, length, window_.data())) return false;
    start_ = at;
    length_ = length;
    return true;
  }

  const ByteSource& source_;
  const std::uint64_t size_;
  const std::size_t windowBytes_;
  std::vector<unsigned char> window_;
  std::uint64_t start_ = 0;
  std::size_t length_ = 0;
};

bool IsFrameMarker(int m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Markers that stand alone, with no length after them.
bool IsStandaloneMarker(int m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD7); }

// The code of the marker whose 0xFF is at `pos` (fill bytes 0xFF may come
// before the code); `pos` is left just after the code. -1 when there is no
// marker there.
int MarkerAt(Reader& r, std::uint64_t& pos) {
  if (r.At(pos) != 0xFF) return -1;
  int code = 0;
  do code = r.At(++pos);
  while (code == 0xFF);
  ++pos;
  return code;
}

// What the segments before the first scan say.
struct JpegSegments {
  bool frame = false;
  unsigned width = 0, height = 0, precision = 8;
  int orientation = 1;
  std::uint64_t scanData = 0;  // where the first scan's coded data starts; 0 when none
};

JpegSegments WalkJpegSegments(Reader& r) {
  JpegSegments found;
  if (r.At(0) != 0xFF || r.At(1) != 0xD8) return found;
  bool exifSeen = false;
  std::uint64_t pos = 2;
  for (;;) {
    const int marker = MarkerAt(r, pos);
    if (marker < 0) return found;
    if (IsStandaloneMarker(marker)) continue;
    if (marker == 0x00 || marker == 0xD8 || marker == 0xD9) return found;
    unsigned length = 0;
    if (!r.Big16At(pos, length) || length < 2) return found;
    if (marker == 0xDA) {
      if (found.frame) found.scanData = pos + length;
      return found;
    }
    if (IsFrameMarker(marker) && !found.frame) {
      unsigned height = 0, width = 0;
      const int precision = r.At(pos + 2);
      if (length < 7 || precision < 0 || !r.Big16At(pos + 3, height) || !r.Big16At(pos + 5, width))
        return found;
      found = {true, width, height, static_cast<unsigned>(precision), found.orientation, 0};
    } else if (marker == 0xE1 && !exifSeen && length >= 8) {
      // APP1 holds EXIF or other metadata (XMP): only EXIF is read whole.
      std::string data;
      if (!r.Copy(pos + 2, 6, data)) return found;
      if (data == std::string_view("Exif\0\0", 6)) {
        exifSeen = true;
        if (!r.Copy(pos + 2, length - 2, data)) return found;
        found.orientation = ExifOrientation(data);
      }
    }
    pos += length;
  }
}

PictureHeader FixedHeader(std::string_view b) {
  if (b.size() >= 25 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8) &&
      b.substr(12, 4) == "IHDR")
    return {PictureFormat::Png, Big32(b, 16), Big32(b, 20), 1, std::max(8u, Byte(b, 24))};
  if (b.size() >= 26 && b.substr(0, 2) == "BM") {
    // Signed sizes; a negative height means rows stored top-down. The bits
    // a pixel follow in the info header; a core header of old has none.
    const unsigned width = Little32(b, 18), stored = Little32(b, 22);
    const unsigned height = stored >= 0x80000000u ? 0u - stored : stored;
    if (width == 0 || width >= 0x80000000u || height == 0 || height >= 0x80000000u) return {};
    const unsigned bits = b.size() >= 30 ? Little16(b, 28) : 0;
    return {PictureFormat::Bmp, width, height, 1, bits > 32 ? 16u : 8u};
  }
  if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
    return {PictureFormat::Gif, Little16(b, 6), Little16(b, 8)};
  return {};
}

// The picture's header and, of a JPEG, where its first scan's coded data
// starts (0 when there is none), from one walk over its segments.
PictureHeader HeaderAndScan(const ByteSource& file, std::uint64_t& scanData) {
  Reader r(file, kSegmentWindowBytes);
  scanData = 0;
  if (r.At(0) == 0xFF && r.At(1) == 0xD8 && r.At(2) == 0xFF) {
    const JpegSegments s = WalkJpegSegments(r);
    if (!s.frame) return {};
    scanData = s.scanData;
    return {PictureFormat::Jpeg, s.width, s.height, s.orientation, std::max(8u, s.precision)};
  }
  std::string start;
  if (!r.Copy(0, static_cast<std::size_t>(std::min<std::uint64_t>(r.Size(), 32)), start)) return {};
  return FixedHeader(start);
}

// Whether the scans starting at `pos` end in the end marker.
bool ScansEnd(const ByteSource& file, std::uint64_t pos) {
  if (pos == 0) return false;
  Reader r(file, kScanWindowBytes);
  // Coded data holds 0xFF only as 0xFF 0x00 or before a restart marker;
  // any other marker ends the scan: the end of the image, or the tables and
  // header of the next scan, which are skipped by their length.
  for (;;) {
    pos = r.FindFF(pos);
    const int marker = MarkerAt(r, pos);
    if (marker < 0) return false;
    if (marker == 0xD9) return true;
    if (marker == 0x00 || IsStandaloneMarker(marker)) continue;
    unsigned length = 0;
    if (marker == 0xD8 || !r.Big16At(pos, length) || length < 2) return false;
    pos += length;
  }
}

}  // namespace

bool MemoryBytes::Read(std::uint64_t offset, std::size_t count, unsigned char* out) const {
  if (offset > bytes_.size() || bytes_.size() - offset < count) return false;
  if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
  return true;
}

PictureHeader ReadPictureHeader(const ByteSource& file) {
  std::uint64_t scanData = 0;
  return HeaderAndScan(file, scanData);
}

unsigned long long MaxPicturePixels(const PictureHeader& header) {
  return header.bitsPerChannel > 8 ? kMaxDeepPixels : kMaxPixels;
}

bool PlausiblePictureSize(const PictureHeader& h) {
  return h.format != PictureFormat::None && h.width > 0 && h.height > 0 && h.width <= kMaxSide &&
         h.height <= kMaxSide &&
         static_cast<unsigned long long>(h.width) * h.height <= MaxPicturePixels(h);
}

bool JpegIsComplete(const ByteSource& file) {
  Reader segments(file, kSegmentWindowBytes);
  return ScansEnd(file, WalkJpegSegments(segments).scanData);
}

int ExifOrientation(std::string_view app1) {
  if (app1.size() < 6 || app1.substr(0, 6) != std::string_view("Exif\0\0", 6)) return 1;
  const std::string_view tiff = app1.substr(6);
  if (tiff.size() < 8) return 1;
  bool little = false;
  if (tiff.substr(0, 2) == "II")
    little = true;
  else if (tiff.substr(0, 2) != "MM")
    return 1;
  const auto read16 = [&](std::uint64_t at) {
    const auto i = static_cast<std::size_t>(at);
    return little ? Little16(tiff, i) : Big16(tiff, i);
  };
  const auto read32 = [&](std::uint64_t at) {
    const auto i = static_cast<std::size_t>(at);
    return little ? Little32(tiff, i) : Big32(tiff, i);
  };
  if (read16(2) != 42) return 1;
  // Every offset and count below comes from the file: each is checked
  // against the data before it is followed.
  const std::uint64_t ifd = read32(4);
  if (ifd > tiff.size() || tiff.size() - ifd < 2) return 1;
  const unsigned entries = read16(ifd);
  for (unsigned i = 0; i < entries; ++i) {
    const std::uint64_t entry = ifd + 2 + 12ull * i;
    if (entry + 12 > tiff.size()) return 1;
    if (read16(entry) != 0x0112) continue;
    const unsigned type = read16(entry + 2), count = read32(entry + 4);
    unsigned value = 0;
    if (type == 3 && count >= 1 && count <= 2)  // SHORT, held in the entry itself
      value = read16(entry + 8);
    else if (type == 4 && count == 1)  // LONG
      value = read32(entry + 8);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
  }
  return 1;
}

bool WorthDecoding(const ByteSource& file, PictureHeader& header) {
  std::uint64_t scanData = 0;
  header = HeaderAndScan(file, scanData);
  if (!PlausiblePictureSize(header)) return false;
  return header.format != PictureFormat::Jpeg || ScansEnd(file, scanData);
}

PixelPosition UprightPosition(int orientation, unsigned x, unsigned y, unsigned width,
                              unsigned height) {
  const unsigned right = width - 1 - x, bottom = height - 1 - y;
  switch (orientation) {
    case 2:
      return {right, y};
    case 3:
      return {right, bottom};
    case 4:
      return {x, bottom};
    case 5:  // the stored top row becomes the left column, read downwards
      return {y, x};
    case 6:  // ... the right column, read downwards
      return {bottom, x};
    case 7:  // ... the right column, read upwards
      return {bottom, right};
    case 8:  // ... the left column, read upwards
      return {y, right};
    default:
      return {x, y};
  }
}

}  // namespace platform
