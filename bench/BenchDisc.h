// What the benchmarks need besides the measuring: discs made up in a scratch
// folder, pictures to put on them, the programs' windows found from outside,
// and the figures drawn from a series of runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The names of `count` game folders: "Game 1", "Game 2", ... and, from ten
// games on, a few Cyrillic names in place of the last "Game" ones.
std::vector<std::wstring> GameNames(int count);

// Lays out a disc in `root`, which must not exist yet: autorun.ini,
// autorun\ with the four sounds, and games\ with `games` empty folders.
// On failure `error` says what went wrong.
bool MakeDisc(const std::wstring& root, int games, std::wstring& error);

// Writes a new file (never over an existing one). False on any failure.
bool WriteNewFile(const std::wstring& path, const void* data, std::size_t size);

// Puts the program `from` at `to` (never over an existing file): a hard link
// costs nothing, a copy is made when the link cannot be. False when neither.
bool PlaceProgram(const std::wstring& from, const std::wstring& to);

// Rows `firstRow` to `firstRow + rows - 1` of a `width` x `height` picture
// in 24-bit BGR, `stride` bytes a row (padding is left as it is): colour
// gradients, bands and soft rings under fine noise, like a screenshot
// rather than a flat field, so that a JPEG of it is not trivially small.
// The same seed gives the same picture, whichever strips it is made in.
void FillPictureRows(int width, int height, int firstRow, int rows, int stride,
                     std::uint8_t* pixels, std::uint32_t seed);

// The visible top-level dialog window of process `pid` whose title starts
// with `titlePrefix`, or nullptr.
HWND FindDialogWindow(DWORD pid, const std::wstring& titlePrefix);

// Deletes a folder with everything in it. False when something stays.
bool RemoveTree(const std::wstring& folder);

// A new empty folder in the user's temporary folder, or "" when none can be
// made. Its name starts with `prefix`.
std::wstring MakeScratchFolder(const std::wstring& prefix);

// The median and the smallest of a series of times.
struct Summary {
  double median = 0;
  double min = 0;
};
// Both are 0 for an empty series; an even series has the mean of its two
// middle values as its median.
Summary Summarise(std::vector<double> times);

}  // namespace bench
