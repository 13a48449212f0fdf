#include "platform/PictureHeader.h"

namespace platform {
namespace {

constexpr unsigned kMaxSide = 65535;
constexpr unsigned long long kMaxPixels = 100ull * 1000 * 1000;

unsigned Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }
unsigned Big16(std::string_view b, std::size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
unsigned Big32(std::string_view b, std::size_t i) { return Big16(b, i) << 16 | Big16(b, i + 2); }
unsigned Little16(std::string_view b, std::size_t i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
long Little32(std::string_view b, std::size_t i) {
  return static_cast<long>(static_cast<int>(Little16(b, i) | Little16(b, i + 2) << 16));
}

bool IsFrameMarker(unsigned m) {
  return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

PictureHeader Jpeg(std::string_view b) {
  std::size_t pos = 2;
  while (pos + 4 <= b.size()) {
    if (Byte(b, pos) != 0xFF) return {};
    const unsigned marker = Byte(b, pos + 1);
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length follows
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return {};  // image data before any frame header
    const unsigned length = Big16(b, pos + 2);
    if (length < 2) return {};
    if (IsFrameMarker(marker)) {
      if (pos + 9 > b.size()) return {};
      return {PictureFormat::Jpeg, Big16(b, pos + 7), Big16(b, pos + 5)};
    }
    pos += 2 + length;
  }
  return {};
}

}  // namespace

PictureHeader ReadPictureHeader(std::string_view b) {
  if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8 && Byte(b, 2) == 0xFF)
    return Jpeg(b);
  if (b.size() >= 24 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8) &&
      b.substr(12, 4) == "IHDR")
    return {PictureFormat::Png, Big32(b, 16), Big32(b, 20)};
  if (b.size() >= 26 && b.substr(0, 2) == "BM") {
    const long width = Little32(b, 18),
               height = Little32(b, 22);  // a negative height: rows top-down
    if (width <= 0 || height == 0) return {};
    return {PictureFormat::Bmp, static_cast<unsigned>(width),
            static_cast<unsigned>(height < 0 ? -height : height)};
  }
  if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
    return {PictureFormat::Gif, Little16(b, 6), Little16(b, 8)};
  return {};
}

bool PlausiblePictureSize(const PictureHeader& h) {
  return h.format != PictureFormat::None && h.width > 0 && h.height > 0 && h.width <= kMaxSide &&
         h.height <= kMaxSide && static_cast<unsigned long long>(h.width) * h.height <= kMaxPixels;
}

bool JpegTailIsComplete(std::string_view tail) {
  for (std::size_t i = tail.size(); i >= 2; --i)
    if (Byte(tail, i - 2) == 0xFF && Byte(tail, i - 1) == 0xD9) return true;
  return false;
}

}  // namespace platform
