// Turns the bytes of a disc's text file into text: UTF-16 or UTF-8 where a
// byte-order mark says so, UTF-8 where the bytes are valid UTF-8 holding
// non-ASCII characters, the system's ANSI code page otherwise.
#pragma once

#include <string>
#include <string_view>

namespace TextDecodeModule {

enum class Encoding { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

Encoding DetectEncoding(std::string_view bytes);
std::wstring DecodeText(std::string_view bytes);

// Strict UTF-8 check (no overlong forms, no surrogates, nothing above
// U+10FFFF). A sequence cut off at the very end counts as valid, so that a
// file read only in part is still recognised.
bool IsUtf8(std::string_view bytes);

}  // namespace TextDecodeModule
