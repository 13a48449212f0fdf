// A model of the order in which Explorer shows names (the system's logical
// comparison): the simulation's comparison, and on Windows the quick first
// pass before the system's own. Names are compared one element at a time, an
// element being a run of digits (compared by its value, leading zeros
// aside) or one character (compared by the system's collation, letter case
// ignored). Punctuation and symbols come first, then numbers, then letters;
// an accented letter follows its plain letter and precedes the next one;
// Ё follows Е and precedes Ж.
#pragma once

#include <string>

namespace platform {

// Negative, zero or positive, like a comparison function. Zero only for
// names that differ at most in letter case and in leading zeros. The order
// is a strict weak order for any names (surrogates and controls included).
int CompareLikeExplorer(const std::wstring& a, const std::wstring& b);

}  // namespace platform
