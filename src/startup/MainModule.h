// Start-up, the program's globals and its one way to end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
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
std::wstring WindowMessage();

// What the program does with a key of the control file.
enum class KeyUse {
  DiscName,            // the text of the disc's own entry, first in the list
  ListHeading,         // the caption of the label above the list
  DescriptionHeading,  // the caption of the label above the description
  InstallCaption,      // the install button's caption
  CloseCaption,        // the close button's caption
  ReadMeCaption,       // the read-me button's caption, seen only with the button
  HelpHeading,         // the read-me window's heading, seen only with a read-me
  HelpButtonMode,      // whether the read-me button shows and works
  ScreenReader,        // whether to start the portable screen reader
  SupportAddress,      // the address a failed launch asks the user to write to
};

// A key of the control file the program reads: its section, its name, and
// what the program does with its value.
struct ControlFileKey {
  const wchar_t* section;
  const wchar_t* name;
  KeyUse use;
};

// The section all of them are in.
extern const wchar_t* const kSection;
// Every key start-up reads, one for each use.
extern const ControlFileKey kControlFileKeys[10];

// The value of the key for `use` in the control file's decoded text, as
// start-up reads it ("0" when it is missing).
std::wstring ReadSetting(const std::wstring& iniText, KeyUse use);

// The key of that name, as the reader compares names (letter case and
// surrounding blanks aside); nullptr when the program reads no such key.
const ControlFileKey* FindControlFileKey(const std::wstring& name);

// The names of the four sounds in the sound folder (".wav" appended).
extern const wchar_t* const kSoundClick;
extern const wchar_t* const kSoundLoad;
extern const wchar_t* const kSoundStart;
extern const wchar_t* const kSoundStop;

// Sets tAppPath (given with or without its trailing backslash) and the
// paths derived from it.
void SetPaths(const std::wstring& appPath);

// Start-up's checks of the disc, run in this order; each failure has its
// message. SoundFolderUsable initialises `sound`; GamesPresent fills
// `drGame` (or, for the check, `games`) with the game folders.
bool SoundFolderUsable(ApiPlaySoundClass& sound);
bool ControlFilePresent();
bool GamesPresent(platform::DirListBox& drGame);
bool GamesPresent(std::vector<std::wstring>& games);

// The text of a game's entry in the list: the last piece of its folder's path.
std::wstring GameEntry(const std::wstring& folderPath);

// The read-me button's mode from the value of HelpButton, and what a mode
// does to the button.
std::int32_t HelpButtonMode(const std::wstring& value);
bool ReadMeButtonVisible(std::int32_t mode);
bool ReadMeButtonEnabled(std::int32_t mode);

// The address the launch-failure message names, from the value of support.
std::wstring SupportMail(const std::wstring& value);

// Runs the start-up sequence and returns; ends the program through ShutDown
// when the disc cannot be used.
void Main();

// True while start-up is going on, when a close request (Esc, the close
// button, the system ending the session) is held and carried out as soon as
// start-up is done: by then the stop sound is loaded, and the user hears the
// program go instead of seeing it vanish without a word.
bool HoldCloseUntilStarted();

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
