// Reads a whole text file of the disc into a string.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"
#include "util/TextDecodeModule.h"

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

// A text file's head as the program reads it: its text, the encoding it was
// read in, and whether the file went on beyond the limit.
struct TextHead {
  std::wstring text;
  TextDecodeModule::Encoding encoding = TextDecodeModule::Encoding::Ansi;
  bool cut = false;
};

// Reads and decodes at most `limit` bytes of the file `tFile`; the bytes
// decoded are kept in `bytes` when it is given.
platform::ReadStatus ReadTextHead(const std::wstring& tFile, std::size_t limit, TextHead& head,
                                  std::string* bytes = nullptr);

// What LoadFile reads of `tFile`, with its encoding and whether it was cut
// (and its bytes, when `bytes` is given); false when LoadFile would find or
// read nothing. The disc check reads texts through this, by the same rule.
bool LoadFileHead(const std::wstring& tFile, TextHead& head, std::string* bytes = nullptr);

}  // namespace LoadFileModule
