// What a picture file says about itself, read before any decoder sees it.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "platform/PictureHeader.h"

namespace {

using platform::PictureFormat;

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

std::string Bmp(int width, int height) {
  std::string s = "BM" + std::string(16, '\0');
  for (int v : {width, height}) {
    const auto u = static_cast<unsigned>(v);
    s += Bytes({static_cast<int>(u & 255), static_cast<int>((u >> 8) & 255),
                static_cast<int>((u >> 16) & 255), static_cast<int>(u >> 24)});
  }
  return s + std::string(8, '\0');
}

TEST(PictureHeaderTest, FormatsAndTheSizesTheyClaim) {
  struct Case {
    const char* what;
    std::string bytes;
    PictureFormat format;
    unsigned width, height;
  };
  // A JPEG whose frame header comes after a metadata segment of 1000 bytes.
  std::string withMetadata = Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0x03, 0xE8}) + std::string(998, 'x') +
                             testpictures::kRedJpeg.substr(2);
  const Case cases[] = {
      {"JPEG", testpictures::kRedJpeg, PictureFormat::Jpeg, 64, 48},
      {"JPEG after metadata", withMetadata, PictureFormat::Jpeg, 64, 48},
      {"PNG", Png(1600, 1200), PictureFormat::Png, 1600, 1200},
      {"BMP bottom-up", Bmp(640, 480), PictureFormat::Bmp, 640, 480},
      {"BMP top-down", Bmp(640, -480), PictureFormat::Bmp, 640, 480},
      {"GIF", "GIF89a" + Bytes({0x80, 0x02, 0xE0, 0x01}), PictureFormat::Gif, 640, 480},
      {"text", "this is only text, not a picture", PictureFormat::None, 0, 0},
      {"JPEG cut before its frame header", testpictures::kRedJpeg.substr(0, 20),
       PictureFormat::None, 0, 0},
      {"JPEG with a broken segment", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0x00, 0x00}),
       PictureFormat::None, 0, 0},
      {"BMP of no width", Bmp(0, 10), PictureFormat::None, 0, 0},
      {"empty", "", PictureFormat::None, 0, 0},
  };
  for (const Case& c : cases) {
    const platform::PictureHeader h = platform::ReadPictureHeader(c.bytes);
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

TEST(PictureHeaderTest, AJpegIsCompleteWhenItsEndMarkerIsNearTheEnd) {
  const std::string& jpeg = testpictures::kRedJpeg;
  EXPECT_TRUE(platform::JpegTailIsComplete(jpeg));
  EXPECT_TRUE(platform::JpegTailIsComplete(jpeg + std::string(16, '\0')))
      << "padding after the marker";
  EXPECT_FALSE(platform::JpegTailIsComplete(jpeg.substr(0, jpeg.size() - 40)));
  EXPECT_FALSE(platform::JpegTailIsComplete(""));
}

}  // namespace
