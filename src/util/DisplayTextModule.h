// Makes a disc's text fit to be shown in a multi-line text box: line breaks
// every Windows text box shows as such, no character that would cut the
// text short, and no line so long that laying it out holds up the window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace DisplayTextModule {

// The longest line handed to a text box, in UTF-16 units. A text box wraps
// a line in time that grows with the square of the line's length (under
// Wine a megabyte in lines of 1,000 characters takes five times as long as
// in lines of 40), and this is wider than a box on any common screen, which
// wraps the line at a blank anyway.
constexpr std::size_t kMaxLineChars = 256;

// A tab is shown as the blanks that reach the next of these columns of its
// line, as a plain-text editor shows it in a font of fixed width. A text box
// given the tab itself lays out each line that holds one many times slower
// (under Wine 16 KB of tab-separated words take 0.7 s against 0.05 s).
constexpr std::size_t kTabColumns = 8;

// `text` as a text box should get it:
// - CR LF, a lone CR and a lone LF each become one CR LF (older text boxes
//   break lines only at CR LF);
// - a NUL becomes a blank (a window's text ends at its first NUL);
// - a tab becomes one to kTabColumns blanks, to the next tab stop of the
//   line as the text has it (a break made below does not move the stops);
// - a line longer than `maxLine` is broken into lines of at most `maxLine`,
//   each after its last blank where it has one, else just before the
//   character that would not fit, never between the two halves of a
//   surrogate pair.
// Every other character of `text` stays, in its order; only line ends and
// blanks change.
std::wstring DisplayText(std::wstring_view text, std::size_t maxLine = kMaxLineChars);

}  // namespace DisplayTextModule
