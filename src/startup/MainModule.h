// Start-up, the program's globals and its one way to end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sound/ApiPlaySoundClass.h"

namespace MainModule {

// Paths, set once at start-up.
extern std::wstring tAppPath;
extern std::wstring tGamesPath;
extern std::wstring tNvdaFile;
extern std::wstring tAutorunPath;
extern std::wstring tReadMeFile;
extern std::wstring tIniFile;

// Settings from the control file.
extern std::wstring tDiskName;
extern std::wstring tHelpHead;
extern std::int32_t iHelpButton;
extern bool bScreenReader;
// Where a failed launch asks the user to write: the disc's own address
// (key "support"), or the project's.
extern std::wstring tSupportMail;
extern const wchar_t* const kDefaultSupportMail;

// The sound player and the numbers of the four sounds.
extern std::unique_ptr<ApiPlaySoundClass> oSound;
extern std::int16_t iSndClick;
extern std::int16_t iSndLoad;
extern std::int16_t iSndStart;
extern std::int16_t iSndStop;

// The start-up messages.
extern const wchar_t* const kSoundFolderTitle;
extern const wchar_t* const kErrorTitle;
std::wstring SoundFolderMessage();
std::wstring ControlFileMessage(const std::wstring& iniFile);
std::wstring NoGamesMessage(const std::wstring& gamesPath);

// Runs the start-up sequence and returns; ends the program through ShutDown
// when the disc cannot be used.
void Main();

// Frees the sound player and ends the program at once.
[[noreturn]] void ShutDown();

// The program's own folder, always ending in one backslash.
void GetAppPath(std::wstring& vPath);

// Shows or hides, enables or disables the read-me button by its mode.
void ApplyHelpButton(std::int32_t mode);

// Starts the portable screen reader unless a window titled exactly "NVDA"
// or "JAWS" is there.
void CheckScreenReader();

// Puts every global back to its value before start-up; a run of the program
// never needs it, tests that start the program again from scratch do.
void ResetGlobals();

}  // namespace MainModule
