// What the program reads of a game's entry, and where: each entry's
// description and screenshot, and the installer the launch starts. The disc
// check asks these, so that it judges a disc by the program's own rules.
#pragma once

#include <string>
#include <vector>

namespace DiscFilesModule {

// An entry's files: the disc's own lie in the sound folder, a game's in its
// game folder.
extern const wchar_t* const kDescriptionFile;
extern const wchar_t* const kScreenshotFile;
// Whether the list entry is the disc's own: its text is exactly tDiskName.
bool IsDiscEntry(const std::wstring& entry);
// The folder holding the entry's description and screenshot.
std::wstring EntryFolder(const std::wstring& entry);

// A game's folder, ending in a backslash.
std::wstring GameFolder(const std::wstring& name);
// Whether a file's own name ends in ".exe" (in any letter case).
bool EndsWithExe(const std::wstring& name);
// The folder's program files in the order the launch looks at them, and the
// one it starts ("" when there is none).
std::vector<std::wstring> ProgramFiles(const std::wstring& folder);
std::wstring FirstProgram(const std::wstring& folder);

}  // namespace DiscFilesModule
