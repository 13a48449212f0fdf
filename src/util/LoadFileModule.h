// Reads a whole text file of the disc into a string.
#pragma once

#include <cstddef>
#include <string>

namespace LoadFileModule {

// What is shown of a file at most: a multi-line box lays out about a
// million characters a second, and a disc's file may be of any size.
constexpr std::size_t kMaxTextBytes = std::size_t{1} << 20;

// Reads the ordinary file `tFile` (decoded from the ANSI code page, or from
// UTF-8 / UTF-16 where its bytes say so) into `tText`; true when the text
// is not empty. A file that cannot be found or read gives false and leaves
// `tText` as it was; an empty file gives false and an empty `tText`. Of a
// larger file the first kMaxTextBytes bytes are read, cut at a character.
bool LoadFile(const std::wstring& tFile, std::wstring& tText);

}  // namespace LoadFileModule
