// Turns the bytes of a disc's text file into text: UTF-16 or UTF-8 where a
// byte-order mark says so, UTF-8 where the bytes are valid UTF-8 holding
// non-ASCII characters, the system's ANSI code page otherwise.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace TextDecodeModule {

enum class Encoding { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// Whether the bytes are a whole file or only its head, cut at a size limit.
// Only a cut text can end inside a character: there the broken character is
// dropped, while at the end of a whole file it is a fault like any other.
enum class TextEnd { Whole, Cut };

Encoding DetectEncoding(std::string_view bytes, TextEnd end = TextEnd::Whole);

// How the bytes read as UTF-8, the whole of them: the well-formed characters
// beyond ASCII (and of those, the Cyrillic ones), where the first byte that
// belongs to no well-formed character lies, and whether the bytes end inside
// a character.
struct Utf8Reading {
  std::size_t nonAscii = 0;
  std::size_t cyrillic = 0;
  std::size_t firstInvalid = std::string_view::npos;
  bool endsInside = false;
};
Utf8Reading ReadAsUtf8(std::string_view bytes);

// The text of the bytes. Nothing is ever lost or stops the decoding: in
// UTF-8 each maximal invalid subpart (the longest start of a well-formed
// sequence, or else one byte) becomes U+FFFD, in UTF-16 each unpaired
// surrogate and an odd last byte do. No lone surrogate is ever returned.
// NULs are kept.
std::wstring DecodeText(std::string_view bytes, TextEnd end = TextEnd::Whole);

}  // namespace TextDecodeModule
