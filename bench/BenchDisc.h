// What the start-up benchmark needs besides the measuring: discs made up in
// a scratch folder, and the figures drawn from a series of runs.
#pragma once

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
