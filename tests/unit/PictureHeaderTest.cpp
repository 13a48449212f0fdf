// What a picture file says about itself, read before any decoder sees it:
// format and size, whether a JPEG is whole, and how a photo is turned.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "../common/TestPictures.h"
#include "TestPictureFiles.h"
#include "platform/shared/PictureHeader.h"

namespace {

using platform::MemoryBytes;
using platform::PictureFormat;
using testpictures::JpegSegment;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

std::string Png(unsigned width, unsigned height) {
  std::string s = "\x89PNG\r\n\x1A\n" + Bytes({0, 0, 0, 13}) + "IHDR";
  for (unsigned v : {width, height})
    s += Bytes({static_cast<int>(v >> 24), static_cast<int>((v >> 16) & 255),
                static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)});
  return s + std::string(8, '\0');
}

std::string Bmp(long long width, long long height) {
  std::string s = "BM" + std::string(16, '\0');
  for (long long v : {width, height}) {
    const auto u = static_cast<unsigned long long>(v);
    s += Bytes({static_cast<int>(u & 255), static_cast<int>((u >> 8) & 255),
                static_cast<int>((u >> 16) & 255), static_cast<int>((u >> 24) & 255)});
  }
  return s + std::string(8, '\0');
}

platform::PictureHeader Header(const std::string& bytes) {
  return platform::ReadPictureHeader(MemoryBytes(bytes));
}
bool Complete(const std::string& bytes) { return platform::JpegIsComplete(MemoryBytes(bytes)); }

// A JPEG's segments up to its first scan, with a frame of 64 x 48, then the
// coded data given and nothing else.
std::string JpegWithScan(const std::string& coded) {
  return Bytes({0xFF, 0xD8}) + JpegSegment(0xC0, Bytes({8, 0, 48, 0, 64, 1, 1, 0x11, 0})) +
         JpegSegment(0xDA, Bytes({1, 1, 0, 0, 0x3F, 0})) + coded;
}

// The position of the n-th (from 0) occurrence of a marker.
std::size_t MarkerPosition(const std::string& jpeg, int marker, int n) {
  const std::string m{'\xFF', static_cast<char>(marker)};
  std::size_t at = jpeg.find(m);
  while (n-- > 0 && at != std::string::npos) at = jpeg.find(m, at + 1);
  return at;
}

TEST(PictureHeaderTest, FormatsAndTheSizesTheyClaim) {
  struct Case {
    const char* what;
    std::string bytes;
    PictureFormat format;
    unsigned width, height;
  };
  const std::string& red = testpictures::kRedJpeg;
  // A frame header after the first scan's header is not a frame header.
  std::string scanFirst = red;
  std::swap(scanFirst[MarkerPosition(red, 0xC0, 0) + 1],
            scanFirst[MarkerPosition(red, 0xDA, 0) + 1]);
  const Case cases[] = {
      {"JPEG", red, PictureFormat::Jpeg, 64, 48},
      {"JPEG after 1000 bytes of metadata", testpictures::WithMetadata(red, 1000),
       PictureFormat::Jpeg, 64, 48},
      {"JPEG after 300 KiB of metadata", testpictures::WithMetadata(red, 300 * 1024),
       PictureFormat::Jpeg, 64, 48},
      {"JPEG after 3 MiB of metadata", testpictures::WithMetadata(red, 3 << 20),
       PictureFormat::Jpeg, 64, 48},
      {"grey JPEG", testpictures::kGrayJpeg, PictureFormat::Jpeg, 64, 48},
      {"progressive JPEG", testpictures::kProgressiveJpeg, PictureFormat::Jpeg, 64, 48},
      {"palette PNG", testpictures::kPalettePng, PictureFormat::Png, 64, 48},
      {"16-bit PNG", testpictures::kDeepPng, PictureFormat::Png, 64, 48},
      {"GIF", testpictures::kGif, PictureFormat::Gif, 64, 48},
      {"PNG", Png(1600, 1200), PictureFormat::Png, 1600, 1200},
      {"BMP bottom-up", Bmp(640, 480), PictureFormat::Bmp, 640, 480},
      {"BMP top-down", Bmp(640, -480), PictureFormat::Bmp, 640, 480},
      {"BMP of the most negative height", Bmp(640, -2147483648LL), PictureFormat::None, 0, 0},
      {"BMP of negative width", Bmp(-640, 480), PictureFormat::None, 0, 0},
      {"BMP of no width", Bmp(0, 10), PictureFormat::None, 0, 0},
      {"text", "this is only text, not a picture", PictureFormat::None, 0, 0},
      {"JPEG cut before its frame header", red.substr(0, 20), PictureFormat::None, 0, 0},
      {"JPEG cut inside its metadata",
       testpictures::WithMetadata(red, 300 * 1024).substr(0, 200000), PictureFormat::None, 0, 0},
      {"JPEG with a broken segment", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0x00, 0x00}),
       PictureFormat::None, 0, 0},
      {"JPEG whose scan comes before its frame header", scanFirst, PictureFormat::None, 0, 0},
      {"empty", "", PictureFormat::None, 0, 0},
  };
  for (const Case& c : cases) {
    const platform::PictureHeader h = Header(c.bytes);
    EXPECT_EQ(h.format, c.format) << c.what;
    EXPECT_EQ(h.width, c.width) << c.what;
    EXPECT_EQ(h.height, c.height) << c.what;
  }
}

TEST(PictureHeaderTest, OnlyPlausibleSizesAreDecoded) {
  EXPECT_TRUE(platform::PlausiblePictureSize({PictureFormat::Jpeg, 6000, 4000}));
  EXPECT_TRUE(platform::PlausiblePictureSize({PictureFormat::Png, 10000, 10000}));
  EXPECT_FALSE(platform::PlausiblePictureSize({PictureFormat::Jpeg, 60000, 60000}))
      << "3.6 gigapixels";
  EXPECT_FALSE(platform::PlausiblePictureSize({PictureFormat::Png, 70000, 10}))
      << "a side over 65535";
  EXPECT_FALSE(platform::PlausiblePictureSize({PictureFormat::Jpeg, 0, 100}));
  EXPECT_FALSE(platform::PlausiblePictureSize({PictureFormat::None, 10, 10}));
}

TEST(PictureHeaderTest, AJpegIsCompleteWhenItsScansEndInTheEndMarker) {
  const std::string& red = testpictures::kRedJpeg;
  const std::string& progressive = testpictures::kProgressiveJpeg;
  // A camera's preview picture inside the EXIF segment: whole, with its own
  // end marker, ahead of the real picture.
  const std::string withThumbnail = testpictures::WithSegments(
      red, testpictures::ExifSegment(testpictures::TiffWithOrientation(1, false) + red));
  const std::string end = Bytes({0xFF, 0xD9});
  struct Case {
    const char* what;
    std::string bytes;
    bool complete;
  };
  const Case cases[] = {
      {"whole", red, true},
      {"16 bytes of padding after the end", red + std::string(16, '\0'), true},
      {"255 bytes after the end", red + std::string(255, '\x20'), true},
      {"1 MiB after the end (a video)", red + std::string(1 << 20, '\xFF'), true},
      {"a second picture after the end", red + red, true},
      {"after 300 KiB of metadata", testpictures::WithMetadata(red, 300 * 1024), true},
      {"cut in half", red.substr(0, red.size() / 2), false},
      {"cut inside the end marker", red.substr(0, red.size() - 1), false},
      {"cut just before the end marker", red.substr(0, red.size() - 2), false},
      {"cut right after the scan's header", red.substr(0, MarkerPosition(red, 0xDA, 0) + 14),
       false},
      {"cut before the scan", red.substr(0, MarkerPosition(red, 0xDA, 0)), false},
      {"cut after its preview picture's end", withThumbnail.substr(0, red.size() + 30), false},
      {"with a preview picture", withThumbnail, true},
      {"stuffed 0xFF bytes", JpegWithScan(Bytes({0x12, 0xFF, 0x00, 0x34, 0xFF, 0x00}) + end), true},
      {"a stuffed byte followed by what reads as a long length",
       JpegWithScan(Bytes({0xFF, 0x00, 0x40, 0x00, 0x01}) + end), true},
      {"cut after a stuffed byte", JpegWithScan(Bytes({0x12, 0xFF, 0x00})), false},
      {"restart markers", JpegWithScan(Bytes({0xAB, 0xFF, 0xD0, 0xCD, 0xFF, 0xD7, 0xEF}) + end),
       true},
      {"cut after a restart marker", JpegWithScan(Bytes({0xAB, 0xFF, 0xD3, 0xCD})), false},
      {"fill bytes before the end marker", JpegWithScan(Bytes({0xAB, 0xFF, 0xFF}) + end), true},
      {"a segment between scans holding the end marker's bytes, then cut",
       JpegWithScan(Bytes({0xAB}) + JpegSegment(0xFE, end) + Bytes({0xCD})), false},
      {"a segment between scans with a length past the end",
       JpegWithScan(Bytes({0xAB, 0xFF, 0xC4, 0xFF, 0xF0}) + end), false},
      {"an empty scan", JpegWithScan(end), true},
      {"progressive", progressive, true},
      {"progressive with 300 bytes after the end", progressive + std::string(300, '\x42'), true},
      {"progressive cut after its first scan",
       progressive.substr(0, MarkerPosition(progressive, 0xDA, 1)), false},
      {"progressive cut between its sixth and seventh scans' headers",
       progressive.substr(
           0, (MarkerPosition(progressive, 0xDA, 5) + MarkerPosition(progressive, 0xDA, 6)) / 2),
       false},
      {"progressive cut just before the end marker", progressive.substr(0, progressive.size() - 2),
       false},
      {"no frame header",
       Bytes({0xFF, 0xD8}) + JpegSegment(0xDA, Bytes({1, 1, 0, 0, 0x3F, 0})) + Bytes({0xAB}) + end,
       false},
      {"not a JPEG", testpictures::kPalettePng, false},
      {"empty", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(Complete(c.bytes), c.complete) << c.what;
}

// A file that counts what is read of it.
class CountingBytes final : public platform::ByteSource {
 public:
  explicit CountingBytes(const std::string& bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.Size(); }
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override {
    total += count;
    largest = std::max(largest, count);
    furthest = std::max<std::uint64_t>(furthest, offset + count);
    return bytes_.Read(offset, count, out);
  }
  mutable std::size_t total = 0, largest = 0;
  mutable std::uint64_t furthest = 0;

 private:
  MemoryBytes bytes_;
};

TEST(PictureHeaderTest, ChecksReadOnlyWhatTheyNeedAPieceAtATime) {
  // 3 MiB of metadata, the picture, and 1 MiB after it.
  const std::string metadata = testpictures::WithMetadata(testpictures::kRedJpeg, 3 << 20);
  const std::string file = metadata + std::string(1 << 20, '\xFF');

  CountingBytes header(file);
  EXPECT_EQ(platform::ReadPictureHeader(header).width, 64u);
  EXPECT_LT(header.total, 256u * 1024) << "the metadata is skipped, not read";
  EXPECT_LE(header.largest, 64u * 1024);

  CountingBytes complete(file);
  EXPECT_TRUE(platform::JpegIsComplete(complete));
  EXPECT_LE(complete.largest, 64u * 1024);
  EXPECT_LT(complete.total, 512u * 1024);
  EXPECT_LE(complete.furthest, metadata.size() + 64 * 1024) << "what follows the end is not read";
}

// An EXIF segment's data around a TIFF structure given byte by byte.
std::string Exif(const std::string& tiff) { return std::string("Exif\0\0", 6) + tiff; }

TEST(PictureHeaderTest, TheOrientationComesFromTheExifSegment) {
  for (bool bigEndian : {false, true})
    for (int orientation = 1; orientation <= 8; ++orientation) {
      const std::string tiff = testpictures::TiffWithOrientation(orientation, bigEndian);
      EXPECT_EQ(platform::ExifOrientation(Exif(tiff)), orientation)
          << orientation << (bigEndian ? " MM" : " II");
      EXPECT_EQ(
          Header(testpictures::WithOrientation(testpictures::kRedJpeg, orientation, bigEndian))
              .orientation,
          orientation)
          << orientation << (bigEndian ? " MM" : " II");
    }

  // Little-endian pieces of a TIFF structure.
  const std::string ii = Bytes({'I', 'I', 0x2A, 0});
  const auto u32 = [](unsigned v) {
    return Bytes({static_cast<int>(v & 255), static_cast<int>((v >> 8) & 255),
                  static_cast<int>((v >> 16) & 255), static_cast<int>(v >> 24)});
  };
  const auto entry = [](int tag, int type, unsigned count, unsigned value) {
    return Bytes({tag & 255, tag >> 8, type, 0}) +
           Bytes({static_cast<int>(count & 255), static_cast<int>((count >> 8) & 255),
                  static_cast<int>((count >> 16) & 255), static_cast<int>(count >> 24)}) +
           Bytes({static_cast<int>(value & 255), static_cast<int>((value >> 8) & 255), 0, 0});
  };
  const std::string six = testpictures::TiffWithOrientation(6, false);
  struct Case {
    const char* what;
    std::string app1;
    int orientation;
  };
  const Case cases[] = {
      {"the orientation after another entry",
       Exif(ii + u32(8) + Bytes({2, 0}) + entry(0x010F, 2, 4, 0x41) + entry(0x0112, 3, 1, 3)), 3},
      {"held as a LONG", Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x0112, 4, 1, 8)), 8},
      {"the directory after a gap",
       Exif(ii + u32(12) + u32(0) + Bytes({1, 0}) + entry(0x0112, 3, 1, 5)), 5},
      {"no orientation entry", Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x010F, 2, 4, 0x41)), 1},
      {"value 0", Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x0112, 3, 1, 0)), 1},
      {"value 9", Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x0112, 3, 1, 9)), 1},
      {"value 0xFFFF", Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x0112, 3, 1, 0xFFFF)), 1},
      {"a count too large to be held in the entry",
       Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x0112, 3, 0x40000000, 6)), 1},
      {"a text where a number belongs", Exif(ii + u32(8) + Bytes({1, 0}) + entry(0x0112, 2, 2, 6)),
       1},
      {"the directory past the end", Exif(ii + u32(0xFFFFFFF0) + std::string(20, '\0')), 1},
      {"the directory at the last byte", Exif(ii + u32(8) + Bytes({1})), 1},
      {"more entries than there is room for",
       Exif(ii + u32(8) + Bytes({0xFF, 0x7F}) + entry(0x010F, 2, 4, 0x41)), 1},
      {"an entry cut short", Exif(six.substr(0, 20)), 1},
      {"a wrong number after the byte order", Exif(Bytes({'I', 'I', 0x2B, 0}) + six.substr(4)), 1},
      {"an unknown byte order", Exif("XX" + six.substr(2)), 1},
      {"a TIFF header cut short", Exif(six.substr(0, 6)), 1},
      {"no TIFF structure", Exif(""), 1},
      {"XMP, not EXIF", "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 1},
      {"empty", "", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::ExifOrientation(c.app1), c.orientation) << c.what;
}

TEST(PictureHeaderTest, TheOrientationIsReadOnlyFromItsOwnSegment) {
  const std::string& red = testpictures::kRedJpeg;
  const std::string six = testpictures::TiffWithOrientation(6, false);
  const std::string xmp = JpegSegment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>");
  struct Case {
    const char* what;
    std::string jpeg;
    int orientation;
  };
  const Case cases[] = {
      {"after an XMP segment",
       testpictures::WithSegments(red, xmp + testpictures::ExifSegment(six)), 6},
      {"after the frame header",
       red.substr(0, MarkerPosition(red, 0xC4, 0)) + testpictures::ExifSegment(six) +
           red.substr(MarkerPosition(red, 0xC4, 0)),
       6},
      // The directory's entry is cut at the segment's end; the bytes that
      // would finish it follow in the file, in a comment.
      {"an entry running past its segment",
       testpictures::WithSegments(
           red, testpictures::ExifSegment(six.substr(0, 14)) + JpegSegment(0xFE, six.substr(14))),
       1},
      {"an EXIF segment too short for its header",
       testpictures::WithSegments(red, JpegSegment(0xE1, "Exi")), 1},
      {"none", red, 1},
  };
  for (const Case& c : cases) {
    const platform::PictureHeader h = Header(c.jpeg);
    EXPECT_EQ(h.format, PictureFormat::Jpeg) << c.what;
    EXPECT_EQ(h.orientation, c.orientation) << c.what;
  }
  EXPECT_EQ(Header(testpictures::kPalettePng).orientation, 1);
}

TEST(PictureHeaderTest, EachOrientationTurnsThePictureUpright) {
  // Where three corners of a stored picture of 4 x 2 are seen: its top left,
  // its top right and its bottom left. Orientations 5 to 8 show it 2 x 4.
  struct Case {
    int orientation;
    platform::PixelPosition topLeft, topRight, bottomLeft;
  };
  const Case cases[] = {
      {1, {0, 0}, {3, 0}, {0, 1}},  // as stored
      {2, {3, 0}, {0, 0}, {3, 1}},  // mirrored left to right
      {3, {3, 1}, {0, 1}, {3, 0}},  // half round
      {4, {0, 1}, {3, 1}, {0, 0}},  // mirrored top to bottom
      {5, {0, 0}, {0, 3}, {1, 0}},  // the top row becomes the left column
      {6, {1, 0}, {1, 3}, {0, 0}},  // a quarter clockwise
      {7, {1, 3}, {1, 0}, {0, 3}},  // the top row becomes the right column, upwards
      {8, {0, 3}, {0, 0}, {1, 3}},  // a quarter anticlockwise
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.orientation);
    const auto at = [&](unsigned x, unsigned y) {
      const platform::PixelPosition p = platform::UprightPosition(c.orientation, x, y, 4, 2);
      return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(at(0, 0), std::make_pair(c.topLeft.x, c.topLeft.y));
    EXPECT_EQ(at(3, 0), std::make_pair(c.topRight.x, c.topRight.y));
    EXPECT_EQ(at(0, 1), std::make_pair(c.bottomLeft.x, c.bottomLeft.y));
    const bool swapped = platform::OrientationSwapsSides(c.orientation);
    EXPECT_EQ(swapped, c.orientation >= 5);
    // Every pixel lands on its own place inside the shown picture.
    std::set<std::pair<unsigned, unsigned>> seen;
    for (unsigned y = 0; y < 2; ++y)
      for (unsigned x = 0; x < 4; ++x) {
        const auto p = at(x, y);
        EXPECT_LT(p.first, swapped ? 2u : 4u);
        EXPECT_LT(p.second, swapped ? 4u : 2u);
        seen.insert(p);
      }
    EXPECT_EQ(seen.size(), 8u);
  }
}

}  // namespace
