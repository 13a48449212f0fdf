// What the benchmarks need besides the measuring: discs made up in a scratch
// folder and the figures drawn from a series of runs.
#pragma once

#include <string>
#include <vector>

namespace bench {

// The read-me window's title on these discs: the help key of their
// autorun.ini.
inline constexpr wchar_t kHelpTitle[] = L"Справка";

// The names of `count` game folders: "Game 1", "Game 2", ... and, from ten
// games on, a few Cyrillic names in place of the last "Game" ones.
std::vector<std::wstring> GameNames(int count);

// Lays out a disc in `root`, which must not exist yet: autorun.ini,
// autorun\ with the four sounds, and games\ with `games` empty folders.
// On failure `error` says what went wrong.
bool MakeDisc(const std::wstring& root, int games, std::wstring& error);

// Puts the program `from` at `to` (never over an existing file): a hard link
// costs nothing, a copy is made when the link cannot be. False when neither.
bool PlaceProgram(const std::wstring& from, const std::wstring& to);

// The median and the smallest of a series of times.
struct Summary {
  double median = 0;
  double min = 0;
};
// Both are 0 for an empty series; an even series has the mean of its two
// middle values as its median.
Summary Summarise(std::vector<double> times);

}  // namespace bench
