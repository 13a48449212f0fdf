// Small pictures for tests: the files of tests/common/pictures/ (among them
// kRedJpeg and kBlueJpeg, 64 x 48 JPEG files of one colour each), and the
// pieces a JPEG is built of, to make the files cameras write.
#pragma once

#include <string>

#include "TestPictureFiles.h"

namespace testpictures {

// A JPEG segment: its marker and its data, with the length before it.
inline std::string JpegSegment(int marker, const std::string& data) {
  const std::size_t length = data.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         data;
}

// A TIFF structure as EXIF holds it, in either byte order, whose first
// directory has one entry: the orientation (tag 0x112, one short).
inline std::string TiffWithOrientation(int orientation, bool bigEndian) {
  const char o = static_cast<char>(orientation);
  if (bigEndian)
    return std::string("MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 19) + o +
           std::string(6, '\0');
  return std::string("II\x2A\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18) + o +
         std::string(7, '\0');
}

// The EXIF segment (APP1) for a TIFF structure.
inline std::string ExifSegment(const std::string& tiff) {
  return JpegSegment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

// The JPEG with segments put right after its start marker.
inline std::string WithSegments(const std::string& jpeg, const std::string& segments) {
  return jpeg.substr(0, 2) + segments + jpeg.substr(2);
}

// The JPEG marked as stored turned: orientation 1 to 8.
inline std::string WithOrientation(const std::string& jpeg, int orientation,
                                   bool bigEndian = false) {
  return WithSegments(jpeg, ExifSegment(TiffWithOrientation(orientation, bigEndian)));
}

// The JPEG with `bytes` of metadata before its frame header, in full-size
// APP2 segments (as large print profiles are stored) and a last shorter one.
inline std::string WithMetadata(const std::string& jpeg, std::size_t bytes) {
  std::string segments;
  while (bytes >= 4) {
    const std::size_t data = bytes - 4 > 65533 ? 65533 : bytes - 4;
    segments += JpegSegment(0xE2, std::string(data, '\xFF'));
    bytes -= data + 4;
  }
  return WithSegments(jpeg, segments);
}

}  // namespace testpictures
