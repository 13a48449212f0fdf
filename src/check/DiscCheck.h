// The disc check: everything a player would meet on a disc folder, decided
// by the program's own rules (its start-up checks, control-file reader, text
// decoding, picture checks, game order and launch), and the disc's names as
// Windows and the disc format take them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace check {

// Stop: Varnolt would not start. Problem: a player would meet it. Note: what
// the player will hear and see, for the author to know.
enum class Severity { Stop, Problem, Note };

enum class Kind {
  // Start-up.
  ProgramMissing,
  SoundFolderUnusable,
  ControlFileMissing,
  NoGames,
  // The control file.
  SectionMissing,
  KeyMissing,
  KeyEmpty,
  UnknownKey,
  DuplicateKey,
  ValueCut,
  HelpButtonValue,
  ScreenReaderValue,
  ScreenReaderMissing,
  AccessKey,
  // Texts and sounds.
  TextEncoding,
  TextCut,
  ReadMeMissing,
  SoundMissing,
  SoundUnplayable,
  // Entries of the list.
  DiscEntry,
  Game,
  GameIsDiscEntry,
  NoInstaller,
  SeveralInstallers,
  InstallerNotProgram,
  InstallerAsksAdmin,
  InstallerPathTooLong,
  DescriptionMissing,
  DescriptionEmpty,
  ScreenshotMissing,
  ScreenshotUnshown,
  // The disc's files and names.
  Ignored,
  BadName,
  LongName,
  AutorunInfMissing,
  AutorunInfWrong,
  LinkNotFollowed,
  FolderUnreadable,
  TooDeep,
  TooManyEntries,
};

struct Finding {
  Kind kind;
  Severity severity;
  std::wstring path;    // relative to the disc folder ("games\Racer 2\setup.exe")
  std::wstring value;   // the text concerned: a key, a value, a caption, a name
  std::wstring detail;  // what it reads as, why, which one
  long long number = 0;
};

// Why a screenshot is not shown (Finding::detail of ScreenshotUnshown).
extern const wchar_t* const kNotAPicture;
extern const wchar_t* const kTooLarge;
extern const wchar_t* const kCutOff;
extern const wchar_t* const kUnreadable;

enum class FolderState { Ok, Missing, NotAFolder, Unreadable };

struct Report {
  FolderState folder = FolderState::Ok;
  std::wstring root;  // the disc folder, ending in a backslash
  std::vector<Finding> findings;
  int games = 0;
};

// Checks the disc folder `folder` (full path, with or without its trailing
// backslash). Sets the program's path globals to that folder.
Report CheckDisc(const std::wstring& folder);

// 0 ready, 1 a player would meet a problem, 2 Varnolt would not start,
// 3 the folder cannot be read.
int ExitStatus(const Report& report);

// Windows' rules for names, which the check applies to every file and folder.
// The reason a name cannot be opened as it is ("" when it can): it ends in a
// dot or a blank, or holds a character Windows forbids.
std::wstring ForbiddenInName(const std::wstring& name);
// Whether a caption holds a single "&" (an access key; "&&" shows the sign).
bool HasAccessKey(const std::wstring& caption);
// The longest name the disc format (Joliet) holds as it is.
constexpr std::size_t kJolietNameChars = 64;
// The longest full path a program can be started by.
constexpr std::size_t kMaxPathChars = 259;

}  // namespace check
