// What a picture file says about itself, read before any decoder sees it:
// format and size, whether a JPEG is whole, and how a photo is turned.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "../common/TestDiscFiles.h"
#include "../common/TestPictures.h"
#include "TestPictureFiles.h"
#include "platform/shared/PictureHeader.h"

namespace {

using enum platform::PictureFormat;
using platform::MemoryBytes;
using testpictures::JpegSegment;

const std::string& kRed = testpictures::kRedJpeg;
const std::string kEnd = "\xFF\xD9";

platform::PictureHeader Header(const std::string& bytes) {
  return platform::ReadPictureHeader(MemoryBytes(bytes));
}

// A JPEG's segments up to its first scan, with a frame of 64 x 48, then the
// coded data given and nothing else.
std::string JpegWithScan(const std::string& coded) {
  return "\xFF\xD8" + JpegSegment(0xC0, std::string("\x08\0\x30\0\x40\x01\x01\x11\0", 9)) +
         JpegSegment(0xDA, std::string("\x01\x01\0\0\x3F\0", 6)) + coded;
}

TEST(PictureHeaderTest, FormatsTheSizesTheyClaimAndWhichAreDecoded) {
  const auto png = [](unsigned width, unsigned height, char depth = 8) {
    const std::string size = testfiles::LE(height) + testfiles::LE(width);  // reversed: big-endian
    return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) +
           std::string(size.rbegin(), size.rend()) + depth + std::string(7, '\0');
  };
  const auto bmp = [](std::int32_t width, std::int32_t height, char bits = 24) {
    return "BM" + std::string(16, '\0') + testfiles::LE(static_cast<std::uint32_t>(width)) +
           testfiles::LE(static_cast<std::uint32_t>(height)) + std::string("\1\0", 2) + bits +
           std::string(5, '\0');
  };
  // A JPEG of 12-bit samples, 10000 x 5001.
  std::string deepJpeg = kRed;
  deepJpeg.replace(kRed.find("\xFF\xC0") + 4, 5, std::string("\x0C\x13\x89\x27\x10", 5));
  // A frame header after the first scan's header is not a frame header.
  std::string scanFirst = kRed;
  std::swap(scanFirst[kRed.find("\xFF\xC0") + 1], scanFirst[kRed.find("\xFF\xDA") + 1]);
  // Huffman tables may come before the frame header.
  const std::size_t dht = kRed.find("\xFF\xC4");
  const auto byte = [](std::size_t at) { return static_cast<unsigned char>(kRed[at]); };
  const std::string tables = kRed.substr(dht, 2 + (byte(dht + 2) << 8 | byte(dht + 3)));
  const std::string tablesFirst =
      std::string(kRed).erase(dht, tables.size()).insert(kRed.find("\xFF\xC0"), tables);
  const struct {
    std::string bytes;
    platform::PictureFormat format;
    unsigned width = 0, height = 0;
    bool plausible = false;
  } cases[] = {
      {kRed, Jpeg, 64, 48, true},
      {png(65535, 1000), Png, 65535, 1000, true},  // the widest side
      {png(65536, 10), Png, 65536, 10, false},
      {png(10000, 10000), Png, 10000, 10000, true},  // the most pixels
      {png(10000, 10001), Png, 10000, 10001, false},
      {png(10000, 5000, 16), Png, 10000, 5000, true},  // the most of 16-bit channels
      {png(10000, 5001, 16), Png, 10000, 5001, false},
      {bmp(10000, 10000, 32), Bmp, 10000, 10000, true},
      {bmp(10000, 5001, 64), Bmp, 10000, 5001, false},
      {deepJpeg, Jpeg, 10000, 5001, false},
      {bmp(640, 480), Bmp, 640, 480, true},
      {bmp(640, -480), Bmp, 640, 480, true},  // top-down
      {bmp(-640, 480), None},
      {kRed.substr(0, 20), None},                                 // cut before its frame header
      {"\xFF\xD8\xFF\xE0" + std::string("\0\x01\0\0", 4), None},  // a broken segment
      {scanFirst, None},
      {tablesFirst, Jpeg, 64, 48, true},
  };
  for (const auto& c : cases) {
    const platform::PictureHeader h = Header(c.bytes);
    EXPECT_EQ(std::make_tuple(h.format, h.width, h.height, platform::PlausiblePictureSize(h)),
              std::make_tuple(c.format, c.width, c.height, c.plausible))
        << "row " << &c - cases;
  }
}

TEST(PictureHeaderTest, AJpegIsCompleteWhenItsScansEndInTheEndMarker) {
  // A camera's preview picture inside the EXIF segment: whole, with its own
  // end marker, ahead of the real picture.
  const std::string withPreview = testpictures::WithSegments(
      kRed, testpictures::ExifSegment(testpictures::TiffWithOrientation(1, false) + kRed));
  const std::pair<std::string, bool> cases[] = {
      {withPreview, true},
      {JpegWithScan(std::string("\xFF\0\x40\0\x01", 5) + kEnd), true},  // a stuffed byte
      {JpegWithScan("\xAB\xFF\xD0\xCD\xFF\xD7\xEF" + kEnd), true},      // restart markers
      {JpegWithScan("\xAB\xFF\xFF" + kEnd), true},                      // fill bytes
      {withPreview.substr(0, kRed.size() + 30), false},
      {JpegWithScan("\xAB\xFF\xD3\xCD"), false},
      // A segment between scans: holding the end marker's bytes, then cut;
      // with a length past the end.
      {JpegWithScan("\xAB" + JpegSegment(0xFE, kEnd) + "\xCD"), false},
      {JpegWithScan("\xAB\xFF\xC4\xFF\xF0" + kEnd), false},
      {"\xFF\xD8" + JpegSegment(0xDA, std::string("\x01\x01\0\0\x3F\0", 6)) + "\xAB" + kEnd,
       false},  // no frame header
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::JpegIsComplete(MemoryBytes(c.first)), c.second) << "row " << &c - cases;
}

// A file that counts what is read of it.
class CountingBytes final : public platform::ByteSource {
 public:
  explicit CountingBytes(const std::string& bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.Size(); }
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override {
    total += count;
    furthest = std::max<std::uint64_t>(furthest, offset + count);
    return bytes_.Read(offset, count, out);
  }
  mutable std::uint64_t total = 0, furthest = 0;

 private:
  MemoryBytes bytes_;
};

TEST(PictureHeaderTest, ChecksSkipMetadataAndStopAtTheEnd) {
  const std::string metadata = testpictures::WithMetadata(kRed, 1 << 20);
  const std::string file = metadata + std::string(256 * 1024, '\xFF');
  CountingBytes header(file), complete(file);
  EXPECT_EQ(platform::ReadPictureHeader(header).width, 64u);
  EXPECT_LT(header.total, 256u * 1024) << "the metadata is skipped, not read";
  EXPECT_TRUE(platform::JpegIsComplete(complete));
  EXPECT_LT(complete.total, 512u * 1024);
  EXPECT_LE(complete.furthest, metadata.size() + 64 * 1024) << "what follows the end is not read";
}

TEST(PictureHeaderTest, TheOrientationComesFromTheFirstExifSegment) {
  // A TIFF structure whose one entry is the orientation, 6: its header, the
  // entry count, the entry (tag, type, count, value), the next directory.
  const std::string six = testpictures::TiffWithOrientation(6, false);
  const std::string head = six.substr(0, 8), entry = six.substr(10, 12);
  const auto with = [&](std::size_t at, const std::string& bytes) {
    return std::string(six).replace(at, bytes.size(), bytes);
  };
  const auto exif = [](const std::string& tiff) {
    return testpictures::WithSegments(kRed, testpictures::ExifSegment(tiff));
  };
  const std::string xmp = std::string("http://ns.adobe.com/xap/1.0/") + '\0' + "<x/>";
  const std::size_t tables = kRed.find("\xFF\xC4");
  const std::pair<std::string, int> cases[] = {
      {testpictures::WithOrientation(kRed, 3, true), 3},   // big-endian
      {testpictures::WithOrientation(kRed, 9, false), 1},  // no orientation there is
      {exif(head + std::string("\x02\0\x0F\x01\x03\0\x01\0\0\0\x03\0\0\0", 14) + entry +
            six.substr(22)),
       6},  // after an entry of another tag
      {exif(with(4, "\x0C").substr(0, 8) + std::string(4, '\0') + six.substr(8)), 6},  // a gap
      {exif(with(12, "\x04").replace(18, 1, "\x08")), 8},  // held as a LONG
      {exif(with(14, "\x03")), 1},                         // a count too large for the entry
      {testpictures::WithSegments(kRed, JpegSegment(0xE1, xmp) + testpictures::ExifSegment(six)),
       6},  // after an XMP segment
      {kRed.substr(0, tables) + testpictures::ExifSegment(six) + kRed.substr(tables), 6},
      // The entry cut at the segment's end; the bytes that would finish it
      // follow in the file, in a comment.
      {testpictures::WithSegments(
           kRed, testpictures::ExifSegment(six.substr(0, 14)) + JpegSegment(0xFE, six.substr(14))),
       1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Header(c.first).orientation, c.second) << "row " << &c - cases;
}

TEST(PictureHeaderTest, EachOrientationTurnsThePictureUpright) {
  // Where the top corners of a stored picture of 4 x 2 are seen; orientations
  // 5 to 8 show it 2 x 4.
  const unsigned corners[][4] = {{0, 0, 3, 0}, {3, 0, 0, 0}, {3, 1, 0, 1}, {0, 1, 3, 1},
                                 {0, 0, 0, 3}, {1, 0, 1, 3}, {1, 3, 1, 0}, {0, 3, 0, 0}};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const platform::PixelPosition left = platform::UprightPosition(orientation, 0, 0, 4, 2);
    const platform::PixelPosition right = platform::UprightPosition(orientation, 3, 0, 4, 2);
    const unsigned* c = corners[orientation - 1];
    EXPECT_EQ(std::vector<unsigned>({left.x, left.y, right.x, right.y}),
              std::vector<unsigned>(c, c + 4))
        << orientation;
    EXPECT_EQ(platform::OrientationSwapsSides(orientation), orientation >= 5);
  }
}

}  // namespace
