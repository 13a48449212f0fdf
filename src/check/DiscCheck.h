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

// Each finding is one kind: what it says and how grave it is are the kind's
// (CheckReport's table), never a text carried with it.
enum class Kind {
  // Start-up.
  ProgramMissing,
  SoundFolderUnusable,
  ControlFileMissing,
  ControlFileHidden,
  ControlFileMisnamed,  // value: the name the file has
  NoGames,
  GamesFolderMisnamed,  // value: the name the folder has
  // The control file.
  SectionMissing,
  KeyMissing,  // value: the key
  KeyEmpty,
  UnknownKey,
  MisspeltKey,  // value: as written, other: the key meant
  DuplicateKey,
  ValueCut,         // number: the value's length
  HelpButtonValue,  // value: as written, number: what it reads as
  ScreenReaderValue,
  ScreenReaderMissing,
  AccessKey,  // value: the key
  SupportMissing,
  SupportEmpty,
  SupportProgramAddress,  // value: the address
  SupportExample,
  SupportNotAddress,
  // Texts.
  TextEncoding,  // value: the encoding's name as Notepad gives it
  TextStart,     // value: the text's start as the player sees it
  TextCut,       // number: the limit in megabytes
  TextDos866,
  TextKoi8r,
  TextMixed,
  TextUtf8Cut,
  TextUtf16NoMark,
  TextRtf,
  TextHtml,
  TextWord,
  ReadMeMissing,  // number: HelpButton's mode
  // Sounds.
  SoundMissing,  // value: the sound's name
  SoundNotWave,
  SoundNoFormat,
  SoundSilent,
  SoundFormat,  // number: the format's code
  // Entries of the list.
  DiscEntry,  // value: the entry's text
  Game,       // value: the entry's text, number: its place among the games
  GameIsDiscEntry,
  NoInstaller,
  InstallerNotExe,  // value: the file that is there instead
  InstallerInSubfolder,
  ProgramInGamesFolder,
  SeveralInstallers,  // value: the one started, number: how many
  InstallerNotProgram,
  InstallerAdminByManifest,  // value: the level asked for
  InstallerAdminByName,
  InstallerPathTooLong,  // number: the path's length
  DescriptionMissing,
  DescriptionEmpty,
  DiscDescriptionMissing,
  ScreenshotMissing,
  ScreenshotNotPicture,
  ScreenshotTooLarge,
  ScreenshotCutOff,
  ScreenshotUnreadable,
  Misnamed,  // value: the name wanted
  // The disc's files and names.
  IgnoredFile,
  IgnoredFolder,
  NameEndsInDot,
  NameEndsInBlank,
  NameControlCharacter,
  NameForbiddenCharacter,  // value: the character
  NameSemicolon,
  LongName,  // number: the name's length
  AutorunInfMissing,
  AutorunInfNoOpen,
  AutorunInfWrong,  // value: what open= starts
  AutorunInfLabelUtf8,
  AutorunInfIconMissing,  // value: the icon's file
  LinkNotFollowed,
  FolderUnreadable,
  TooDeep,         // number: the depth walked
  TooManyEntries,  // number: the entries walked
  Count
};

struct Finding {
  Kind kind;
  std::wstring path;  // relative to the disc folder ("games\Racer 2\setup.exe")
  int line = 0;       // the line in the file, where the finding is about one
  std::wstring value;
  std::wstring other;
  long long number = 0;
};

// How grave each kind is.
Severity SeverityOf(Kind kind);

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

// The longest name the disc format (Joliet) holds as it is.
constexpr std::size_t kJolietNameChars = 64;
// The longest full path a program can be started by.
constexpr std::size_t kMaxPathChars = 259;

// Whether a caption holds a single "&" (an access key; "&&" shows the sign).
bool HasAccessKey(const std::wstring& caption);

}  // namespace check
