// What makes a disc's text show garbled although the program reads it: a
// Cyrillic code page other than the Windows one, UTF-8 mixed with another
// encoding or cut inside a letter, UTF-16 without its byte-order mark, and
// documents that are not plain text.
#pragma once

#include <cstddef>
#include <string_view>

namespace check {

enum class TextFault { None, Dos866, Koi8r, Mixed, Utf8Cut, Utf16NoMark, Rtf, Html, Word };

struct TextVerdict {
  TextFault fault = TextFault::None;
  int line = 0;  // of Mixed: the line of the first byte that is not UTF-8
};

// `bytes` is the head the program read of the file, `cut` whether the file
// goes on beyond it.
TextVerdict ExamineText(std::string_view bytes, bool cut);

// The Cyrillic code page a text read as ANSI is written in, told by how the
// letters it would give are distributed: the Windows one, DOS (866),
// KOI8-R, or Unknown where the text has too few such letters to tell.
enum class CyrillicCodePage { Unknown, Windows, Dos, Koi8 };
CyrillicCodePage GuessCyrillic(std::string_view bytes);

}  // namespace check
