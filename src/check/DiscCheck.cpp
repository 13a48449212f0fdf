#include "check/DiscCheck.h"

#include <algorithm>
#include <cwctype>
#include <initializer_list>
#include <limits>
#include <utility>

#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "check/TextFault.h"
#include "check/WaveFormat.h"
#include "platform/Platform.h"
#include "platform/shared/PictureHeader.h"
#include "sound/ApiPlaySoundClass.h"
#include "startup/DiscFilesModule.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/MainModule.h"
#include "util/LoadFileModule.h"

namespace check {
namespace {

using namespace MainModule;
using namespace DiscFilesModule;

// Bounds of the walk over the disc's files: a deeper tree or more entries
// than this is no disc, and is not walked further.
constexpr int kMaxDepth = 48;
constexpr std::size_t kMaxEntries = 2'000'000;
// A key's value read whole, to tell whether the reader's buffer cut it.
constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max() / 4;
// LookUp's answer for a key that is not there: no value can hold a line break.
const std::wstring kAbsent = L"\n";
// How much of a text's start the report can show.
constexpr std::size_t kStartChars = 60;

std::wstring Lower(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s) out += static_cast<wchar_t>(std::towlower(c));
  return out;
}

bool EndsWithNoCase(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == Lower(tail);
}

// Notepad's names for the encodings, which an author can choose when saving.
const wchar_t* EncodingName(TextDecodeModule::Encoding encoding) {
  switch (encoding) {
    case TextDecodeModule::Encoding::Ansi:
      return L"ANSI";
    case TextDecodeModule::Encoding::Utf8:
      return L"UTF-8";
    case TextDecodeModule::Encoding::Utf8Bom:
      return L"UTF-8 с BOM";
    case TextDecodeModule::Encoding::Utf16Le:
      return L"Юникод";
    case TextDecodeModule::Encoding::Utf16Be:
      return L"Юникод big endian";
  }
  return L"";
}

Kind FaultKind(TextFault fault) {
  switch (fault) {
    case TextFault::Dos866:
      return Kind::TextDos866;
    case TextFault::Koi8r:
      return Kind::TextKoi8r;
    case TextFault::Mixed:
      return Kind::TextMixed;
    case TextFault::Utf8Cut:
      return Kind::TextUtf8Cut;
    case TextFault::Utf16NoMark:
      return Kind::TextUtf16NoMark;
    case TextFault::Rtf:
      return Kind::TextRtf;
    case TextFault::Html:
      return Kind::TextHtml;
    case TextFault::Word:
    case TextFault::None:
      break;
  }
  return Kind::TextWord;
}

// The start of a text as its box shows it, on one line.
std::wstring TextStartOf(const std::wstring& text) {
  std::wstring start;
  for (wchar_t c : text) {
    if (start.size() >= kStartChars) break;
    const bool blank = c < 0x20 || c == 0x7F;
    if (blank && (start.empty() || start.back() == L' ')) continue;
    start += blank ? L' ' : c;
  }
  while (!start.empty() && start.back() == L' ') start.pop_back();
  return start;
}

// Edit distance, for naming the key a misspelt one was meant to be.
std::size_t Distance(const std::wstring& a, const std::wstring& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diagonal + (std::towlower(a[i - 1]) == std::towlower(b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// A file there, by one of the names an author may have given it instead of
// the one wanted (Explorer hides extensions, so ".txt" is easily added).
std::wstring NearName(const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names)
    if (platform::KindOfPath(folder + name) == platform::PathKind::File) return name;
  return std::wstring();
}

// A file the program would find but for its hidden or system mark.
bool HiddenFile(const std::wstring& file) {
  return platform::KindOfPath(file) == platform::PathKind::File &&
         platform::FindOrdinaryFile(file).empty();
}

class Checker {
 public:
  explicit Checker(Report& report) : report_(report) {}

  void Run();

 private:
  void Add(Kind kind, const std::wstring& fullPath, std::wstring value = {}, long long number = 0,
           int line = 0, std::wstring other = {}) {
    report_.findings.push_back(
        {kind, Relative(fullPath), line, std::move(value), std::move(other), number});
  }
  std::wstring Relative(const std::wstring& full) const {
    return full.compare(0, tAppPath.size(), tAppPath) == 0 ? full.substr(tAppPath.size()) : full;
  }

  void StartUp();
  void ControlFile();
  void Support(const std::wstring& whole);
  int LineOf(const std::wstring& key) const;
  std::wstring Setting(const wchar_t* key) const {
    return IniEditorModule::ReadIniFrom(iniHead_.text, kSection, key);
  }
  // A text the program shows, read as it reads one; false when it finds none.
  bool ReadShownText(const std::wstring& file, LoadFileModule::TextHead& head);
  void TextFaults(const std::wstring& file, const LoadFileModule::TextHead& head,
                  const std::string& bytes, std::size_t limit, bool shown);
  void ReadMe();
  void Sounds();
  void Entry(const std::wstring& entry, bool game);
  void Games();
  void Installer(const std::wstring& name);
  void Screenshot(const std::wstring& folder);
  void AutorunInf();
  void Walk();
  void NameRules(const std::wstring& full, const platform::FolderEntry& entry);
  void ListedEntry(const std::wstring& folder, const platform::FolderEntry& entry, int depth);

  Report& report_;
  ApiPlaySoundClass sound_;
  bool soundFolder_ = false, controlFile_ = false, games_ = false;
  std::vector<std::wstring> gameFolders_;          // as the program lists them
  LoadFileModule::TextHead iniHead_, readMeHead_;  // as start-up read them
  std::string iniBytes_, readMeBytes_, bytes_;
  std::vector<IniEditorModule::IniLine> iniLines_;
  bool iniRead_ = false, readMeRead_ = false;
  std::int32_t helpButton_ = 0;
  bool readMe_ = false;  // a read-me the program shows
};

void Checker::Run() {
  StartUp();
  if (controlFile_) ControlFile();
  ReadMe();
  if (soundFolder_) Sounds();
  Entry(tDiskName, false);
  if (games_) Games();
  AutorunInf();
  Walk();
}

bool Checker::ReadShownText(const std::wstring& file, LoadFileModule::TextHead& head) {
  bytes_.clear();
  return LoadFileModule::LoadFileHead(file, head, &bytes_);
}

void Checker::StartUp() {
  if (platform::KindOfPath(tAppPath + L"Varnolt.exe") != platform::PathKind::File)
    Add(Kind::ProgramMissing, tAppPath + L"Varnolt.exe");
  soundFolder_ = SoundFolderUsable(sound_);
  if (!soundFolder_) Add(Kind::SoundFolderUnusable, tAutorunPath);
  controlFile_ = ControlFilePresent();
  if (!controlFile_) {
    const std::wstring near = NearName(tAppPath, {L"autorun.ini.txt", L"autorun.txt"});
    if (HiddenFile(tIniFile))
      Add(Kind::ControlFileHidden, tIniFile);
    else if (near.empty())
      Add(Kind::ControlFileMissing, tIniFile);
    else
      Add(Kind::ControlFileMisnamed, tAppPath + near, near);
  }
  games_ = GamesPresent(gameFolders_);
  if (!games_) {
    std::wstring near;
    for (const wchar_t* name : {L"Игры", L"Games ", L"game", L"Игра"})
      if (platform::KindOfPath(tAppPath + name) == platform::PathKind::Folder) near = name;
    if (near.empty() || platform::KindOfPath(tGamesPath) == platform::PathKind::Folder)
      Add(Kind::NoGames, tGamesPath);
    else
      Add(Kind::GamesFolderMisnamed, tAppPath + near + L"\\", near);
  }
  // Start-up keeps these whether the control file is there or not. Each
  // file is read once; every later look at it uses that reading.
  iniRead_ = LoadFileModule::ReadTextHead(tIniFile, IniEditorModule::kMaxIniBytes, iniHead_,
                                          &iniBytes_) == platform::ReadStatus::Ok;
  tDiskName = Setting(kKeyDisk);
  helpButton_ = HelpButtonMode(Setting(kKeyHelpButton));
  readMeRead_ = ReadShownText(tReadMeFile, readMeHead_);
  readMeBytes_ = std::move(bytes_);
  readMe_ = readMeRead_ && !readMeHead_.text.empty();
}

int Checker::LineOf(const std::wstring& key) const {
  for (const IniEditorModule::IniLine& line : iniLines_)
    if (IniEditorModule::SameName(line.name, key)) return line.number;
  return 0;
}

void Checker::ControlFile() {
  if (iniRead_) TextFaults(tIniFile, iniHead_, iniBytes_, IniEditorModule::kMaxIniBytes, false);
  if (!IniEditorModule::SectionLines(iniHead_.text, kSection, iniLines_)) {
    Add(Kind::SectionMissing, tIniFile, kSection);
    return;
  }

  // Lines: keys the program does not know, and keys given twice.
  std::vector<bool> seen(kKeyCount, false);
  for (const IniEditorModule::IniLine& line : iniLines_) {
    if (line.name.starts_with(L';')) continue;  // a comment
    int known = -1;
    for (int k = 0; k < kKeyCount; ++k)
      if (IniEditorModule::SameName(line.name, kControlFileKeys[k])) known = k;
    if (known < 0) {
      std::wstring meant;
      for (const wchar_t* key : kControlFileKeys)
        if (Distance(line.name, key) <= 2 && line.name.size() > 2) meant = key;
      Add(meant.empty() ? Kind::UnknownKey : Kind::MisspeltKey, tIniFile, line.name, 0, line.number,
          meant);
    } else if (seen[static_cast<std::size_t>(known)]) {
      Add(Kind::DuplicateKey, tIniFile, kControlFileKeys[known], 0, line.number);
    } else {
      seen[static_cast<std::size_t>(known)] = true;
    }
  }

  // Each key the program reads, as it reads it.
  for (const wchar_t* key : kControlFileKeys) {
    const std::wstring value = Setting(key);
    const std::wstring whole =
        IniEditorModule::LookUp(iniHead_.text, kSection, key, kAbsent, kWholeValue);
    const std::wstring name = key;
    const int line = LineOf(key);
    if (name == kKeySupport) {
      Support(whole);
      continue;
    }
    const bool caption = name != kKeyHelpButton && name != kKeyScreenReader;
    // The read-me button's caption shows only with the button, the read-me
    // window's heading only with a read-me.
    const bool shown =
        (name != kKeyReadMe || ReadMeButtonVisible(helpButton_)) && (name != kKeyHelp || readMe_);
    if (whole == kAbsent) {
      if (caption && shown) Add(Kind::KeyMissing, tIniFile, key);
      continue;
    }
    if (whole.size() > value.size())
      Add(Kind::ValueCut, tIniFile, key, static_cast<long long>(whole.size()), line);
    if (caption && shown && value.empty()) Add(Kind::KeyEmpty, tIniFile, key, 0, line);
    const bool labelOrButton = name == kKeyList || name == kKeyDescription || name == kKeyInstall ||
                               name == kKeyClose || name == kKeyReadMe;
    if (labelOrButton && shown && HasAccessKey(value)) Add(Kind::AccessKey, tIniFile, key, 0, line);
    if (name == kKeyHelpButton) {
      const bool plain =
          IniValueModule::IsNumber(value) && IniValueModule::LeadingNumber(value) == helpButton_;
      if (!plain || helpButton_ < 0 || helpButton_ > 2)
        Add(Kind::HelpButtonValue, tIniFile, value, helpButton_, line);
    }
    if (name == kKeyScreenReader) {
      if (!IniValueModule::ReadTruthValue(value))
        Add(Kind::ScreenReaderValue, tIniFile, value, 0, line);
      if (IniValueModule::ToTruthValue(value) &&
          platform::KindOfPath(tNvdaFile) != platform::PathKind::File)
        Add(Kind::ScreenReaderMissing, tNvdaFile);
    }
  }
}

// The address players who meet "Error! 0" are asked to write to: it must be
// the author's own.
void Checker::Support(const std::wstring& whole) {
  const int line = LineOf(kKeySupport);
  if (whole == kAbsent) {
    Add(Kind::SupportMissing, tIniFile, kDefaultSupportMail);
    return;
  }
  const std::wstring value = Setting(kKeySupport);
  if (value.empty()) {
    Add(Kind::SupportEmpty, tIniFile, kDefaultSupportMail, 0, line);
    return;
  }
  const std::wstring address = Lower(SupportMail(value));
  const std::size_t at = address.rfind(L'@');
  if (address == Lower(kDefaultSupportMail)) {
    Add(Kind::SupportProgramAddress, tIniFile, value, 0, line);
  } else if (at == std::wstring::npos) {
    Add(Kind::SupportNotAddress, tIniFile, value, 0, line);
  } else {
    const std::wstring domain = address.substr(at + 1);
    for (const wchar_t* example : {L"example.org", L"example.com", L"example.net"})
      if (domain == example || EndsWithNoCase(domain, std::wstring(L".") + example)) {
        Add(Kind::SupportExample, tIniFile, value, 0, line);
        break;
      }
  }
}

void Checker::TextFaults(const std::wstring& file, const LoadFileModule::TextHead& head,
                         const std::string& bytes, std::size_t limit, bool shown) {
  if (head.cut) Add(Kind::TextCut, file, {}, static_cast<long long>(limit >> 20));
  const TextVerdict verdict = ExamineText(bytes, head.cut);
  if (verdict.fault != TextFault::None) Add(FaultKind(verdict.fault), file, {}, 0, verdict.line);
  if (shown && !head.text.empty()) Add(Kind::TextStart, file, TextStartOf(head.text));
}

void Checker::ReadMe() {
  if (readMeRead_) {
    Add(Kind::TextEncoding, tReadMeFile, EncodingName(readMeHead_.encoding));
    TextFaults(tReadMeFile, readMeHead_, readMeBytes_, LoadFileModule::kMaxTextBytes, true);
  }
  if (readMe_) return;
  const std::wstring near =
      NearName(tAppPath, {L"readme.txt", L"read.me", L"read.me.txt.txt", L"readme"});
  if (!near.empty())
    Add(Kind::Misnamed, tAppPath + near, L"read.me.txt");
  else if (ReadMeButtonVisible(helpButton_) && !HiddenFile(tReadMeFile))
    Add(Kind::ReadMeMissing, tReadMeFile, {}, helpButton_);
}

void Checker::Sounds() {
  for (const wchar_t* name : {kSoundClick, kSoundLoad, kSoundStart, kSoundStop}) {
    const std::wstring file = tAutorunPath + name + L".wav";
    if (sound_.AddFile(name) == ApiPlaySoundClass::kNoSuchFile) {
      if (!HiddenFile(file)) Add(Kind::SoundMissing, file, name);
      continue;
    }
    const WaveFacts wave = ExamineWave(FileBytes(file));
    switch (wave.verdict) {
      case WaveVerdict::Playable:
        break;
      case WaveVerdict::NotWave:
        Add(Kind::SoundNotWave, file, name);
        break;
      case WaveVerdict::NoFormat:
        Add(Kind::SoundNoFormat, file, name);
        break;
      case WaveVerdict::NoSound:
        Add(Kind::SoundSilent, file, name);
        break;
      case WaveVerdict::UnknownFormat:
      case WaveVerdict::BadFormat:
        Add(Kind::SoundFormat, file, name, wave.formatTag);
        break;
    }
  }
}

// The entry's line in the list's order, then its description and screenshot.
void Checker::Entry(const std::wstring& entry, bool game) {
  const std::wstring folder = EntryFolder(entry);
  const std::wstring description = folder + kDescriptionFile;
  if (game) {
    ++report_.games;
    Add(Kind::Game, folder, entry, report_.games);
  } else {
    Add(Kind::DiscEntry, folder, entry);
  }
  LoadFileModule::TextHead head;
  if (ReadShownText(description, head)) {
    TextFaults(description, head, bytes_, LoadFileModule::kMaxTextBytes, true);
    if (head.text.empty())
      Add(game ? Kind::DescriptionEmpty : Kind::DiscDescriptionMissing, description);
  } else if (const std::wstring near =
                 NearName(folder, {L"descript.ion.txt", L"descript.txt", L"description.txt"});
             !near.empty()) {
    Add(Kind::Misnamed, folder + near, kDescriptionFile);
  } else if (!HiddenFile(description)) {  // a hidden one is named by the walk
    Add(game ? Kind::DescriptionMissing : Kind::DiscDescriptionMissing, description);
  }
  Screenshot(folder);
}

void Checker::Screenshot(const std::wstring& folder) {
  const std::wstring file = folder + kScreenshotFile;
  // The picture is opened by its path, hidden or not.
  if (platform::KindOfPath(file) != platform::PathKind::File) {
    const std::wstring near =
        NearName(folder, {L"screenshot.jpeg", L"screenshot.png", L"screenshot.bmp",
                          L"screenshot.gif", L"screenshot.jpg.jpg", L"screenshot.jpg.txt"});
    if (near.empty())
      Add(Kind::ScreenshotMissing, file);
    else
      Add(Kind::Misnamed, folder + near, kScreenshotFile);
    return;
  }
  const FileBytes bytes(file);
  if (!bytes.Opened()) {
    Add(Kind::ScreenshotUnreadable, file);
    return;
  }
  platform::PictureHeader header;
  if (platform::WorthDecoding(bytes, header)) return;
  if (header.format == platform::PictureFormat::None || header.width == 0 || header.height == 0)
    Add(Kind::ScreenshotNotPicture, file);
  else if (!platform::PlausiblePictureSize(header))
    Add(Kind::ScreenshotTooLarge, file, {},
        static_cast<long long>(platform::MaxPicturePixels(header) / 1000000));
  else
    Add(Kind::ScreenshotCutOff, file);
}

void Checker::Games() {
  for (const std::wstring& folder : gameFolders_) {
    const std::wstring name = GameEntry(folder);
    if (IsDiscEntry(name)) {
      ++report_.games;
      Add(Kind::GameIsDiscEntry, GameFolder(name), name, report_.games);
      continue;
    }
    Entry(name, true);
    Installer(name);
  }
}

void Checker::Installer(const std::wstring& name) {
  const std::wstring folder = GameFolder(name);
  const std::vector<std::wstring> programs = ProgramFiles(folder);
  if (programs.empty()) {
    // What the author may have meant for the installer.
    for (const std::wstring& file : platform::ListOrdinaryFiles(folder + L"*.*"))
      for (const wchar_t* kind : {L".msi", L".bat", L".cmd", L".com", L".lnk"})
        if (EndsWithNoCase(file, kind)) {
          Add(Kind::InstallerNotExe, folder + file, file);
          return;
        }
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::FolderEntry& entry : entries) {
      if (entry.hidden || entry.system) {
        if (!entry.folder && EndsWithNoCase(entry.name, L".exe")) return;  // named by the walk
        continue;
      }
      if (!entry.folder || entry.reparsePoint) continue;
      const std::wstring inner = folder + entry.name + L"\\";
      const std::wstring exe = FirstProgram(inner);
      if (!exe.empty()) {
        Add(Kind::InstallerInSubfolder, inner + exe);
        return;
      }
    }
    Add(Kind::NoInstaller, folder);
    return;
  }
  const std::wstring& exe = programs.front();  // the one the launch starts
  const std::wstring path = folder + exe;
  if (programs.size() > 1)
    Add(Kind::SeveralInstallers, path, exe, static_cast<long long>(programs.size()));
  // On the disc the folder is a drive's root: "D:\" and the path within.
  const std::size_t burned = 3 + Relative(path).size();
  if (burned > kMaxPathChars)
    Add(Kind::InstallerPathTooLong, path, exe, static_cast<long long>(burned));
  // A program's headers lie in its first few kilobytes; its resources are read
  // where its section table says.
  const ProgramFacts facts = ExamineProgram(FileBytes(path, 4096), exe);
  if (!facts.program)
    Add(Kind::InstallerNotProgram, path, exe);
  else if (facts.elevation == Elevation::Manifest)
    Add(Kind::InstallerAdminByManifest, path, facts.level);
  else if (facts.elevation != Elevation::None)
    Add(Kind::InstallerAdminByName, path);
}

void Checker::AutorunInf() {
  const std::wstring file = tAppPath + L"autorun.inf";
  LoadFileModule::TextHead head;
  if (platform::KindOfPath(file) != platform::PathKind::File ||
      LoadFileModule::ReadTextHead(file, IniEditorModule::kMaxIniBytes, head) !=
          platform::ReadStatus::Ok) {
    const std::wstring near = NearName(tAppPath, {L"autorun.inf.txt", L"autorun.txt"});
    if (near.empty())
      Add(Kind::AutorunInfMissing, file);
    else
      Add(Kind::Misnamed, tAppPath + near, L"autorun.inf");
    return;
  }
  std::vector<IniEditorModule::IniLine> lines;
  IniEditorModule::SectionLines(head.text, L"autorun", lines);
  auto find = [&](const wchar_t* key) -> const IniEditorModule::IniLine* {
    for (const IniEditorModule::IniLine& line : lines)
      if (IniEditorModule::SameName(line.name, key) && line.hasValue && !line.value.empty())
        return &line;
    return nullptr;
  };
  // The program is the first word of open= (or shellexecute=), or the quoted
  // text at its start.
  const IniEditorModule::IniLine* open = find(L"open");
  if (open == nullptr) open = find(L"shellexecute");
  if (open == nullptr) {
    Add(Kind::AutorunInfNoOpen, file);
  } else {
    std::wstring program = open->value;
    if (program.front() == L'"') {
      const std::size_t close = program.find(L'"', 1);
      program = program.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    } else {
      program = program.substr(0, program.find(L' '));
    }
    if (program.compare(0, 2, L".\\") == 0) program = program.substr(2);
    if (Lower(program) != L"varnolt.exe")
      Add(Kind::AutorunInfWrong, file, open->value, 0, open->number);
  }
  // Windows reads the file in the system's ANSI code page unless it is UTF-16.
  const bool utf8 = head.encoding == TextDecodeModule::Encoding::Utf8 ||
                    head.encoding == TextDecodeModule::Encoding::Utf8Bom;
  if (const IniEditorModule::IniLine* label = find(L"label")) {
    const bool plain =
        std::all_of(label->value.begin(), label->value.end(), [](wchar_t c) { return c < 0x80; });
    if (utf8 && !plain) Add(Kind::AutorunInfLabelUtf8, file, {}, 0, label->number);
  }
  if (const IniEditorModule::IniLine* icon = find(L"icon")) {
    std::wstring name = icon->value.substr(0, icon->value.find(L','));  // "file.ico,0"
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
      name = name.substr(1, name.size() - 2);
    if (platform::KindOfPath(tAppPath + name) != platform::PathKind::File)
      Add(Kind::AutorunInfIconMissing, file, name, 0, icon->number);
  }
}

void Checker::NameRules(const std::wstring& full, const platform::FolderEntry& entry) {
  const std::wstring& name = entry.name;
  for (wchar_t c : name) {
    if (c < 0x20) {
      Add(Kind::NameControlCharacter, full, {}, c);
      return;
    }
    if (c == L'?' || c == L'*' || c == L'"' || c == L'|' || c == L'<' || c == L'>' || c == L':' ||
        c == L'/' || c == L'\\') {
      Add(Kind::NameForbiddenCharacter, full, std::wstring(1, c));
      return;
    }
  }
  if (name.find(L';') != std::wstring::npos) Add(Kind::NameSemicolon, full);
  // Windows drops a trailing dot or blank from the last part of a path only:
  // a file so named cannot be opened, while a folder's name is only ever a
  // middle part of the paths the program opens.
  if (!entry.folder && name.ends_with(L'.')) Add(Kind::NameEndsInDot, full);
  if (!entry.folder && name.ends_with(L' ')) Add(Kind::NameEndsInBlank, full);
  if (name.size() > kJolietNameChars)
    Add(Kind::LongName, full, {}, static_cast<long long>(name.size()));
}

// Hidden and system entries where the program looks (it passes them by), and
// programs dropped straight into the games folder.
void Checker::ListedEntry(const std::wstring& folder, const platform::FolderEntry& entry,
                          int depth) {
  const std::wstring name = Lower(entry.name);
  const std::wstring full = folder + entry.name;
  const std::wstring where = Lower(Relative(folder));
  const bool program =
      !entry.folder && (EndsWithNoCase(name, L".exe") || EndsWithNoCase(name, L".msi"));
  if (depth == 1 && where == L"games\\" && program) {
    Add(Kind::ProgramInGamesFolder, full);
    return;
  }
  if (!entry.hidden && !entry.system) return;
  bool used = false;
  if (depth == 0) {  // a hidden control file stops the program, and is named so
    used = !entry.folder && name == Lower(Relative(tReadMeFile));
  } else if (depth == 1 && where == Lower(Relative(tAutorunPath))) {
    // The four sounds start-up asks the player for, and the disc's description.
    used = !entry.folder && name == kDescriptionFile;
    for (const wchar_t* sound : {kSoundClick, kSoundLoad, kSoundStart, kSoundStop})
      used = used || (!entry.folder && name == Lower(std::wstring(sound) + L".wav"));
  } else if (depth == 1 && where == L"games\\")
    used = entry.folder;
  else if (depth == 2 && where.compare(0, 6, L"games\\") == 0)
    used = !entry.folder && (name == kDescriptionFile || EndsWithExe(name));
  if (used) {
    if (entry.folder)
      Add(Kind::IgnoredFolder, full + L"\\");
    else
      Add(Kind::IgnoredFile, full);
  }
}

void Checker::Walk() {
  std::vector<std::pair<std::wstring, int>> pending = {{tAppPath, 0}};
  std::size_t entries = 0;
  std::vector<platform::FolderEntry> listed;
  while (!pending.empty()) {
    const auto [folder, depth] = pending.back();
    pending.pop_back();
    if (!platform::ListFolder(folder, listed)) {
      Add(Kind::FolderUnreadable, folder);
      continue;
    }
    // Sub-folders are walked in the order they are listed.
    const std::size_t firstPending = pending.size();
    for (const platform::FolderEntry& entry : listed) {
      if (++entries > kMaxEntries) {
        Add(Kind::TooManyEntries, tAppPath, {}, static_cast<long long>(kMaxEntries));
        return;
      }
      const std::wstring full = folder + entry.name;
      NameRules(entry.folder ? full + L"\\" : full, entry);
      ListedEntry(folder, entry, depth);
      if (!entry.folder) continue;
      if (entry.reparsePoint)
        Add(Kind::LinkNotFollowed, full + L"\\");
      else if (depth + 1 >= kMaxDepth)
        Add(Kind::TooDeep, full + L"\\", {}, kMaxDepth);
      else
        pending.emplace_back(full + L"\\", depth + 1);
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstPending), pending.end());
  }
}

}  // namespace

bool HasAccessKey(const std::wstring& caption) {
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (i + 1 < caption.size() && caption[i + 1] == L'&') {
      ++i;  // "&&" shows one "&"
      continue;
    }
    return true;
  }
  return false;
}

Report CheckDisc(const std::wstring& folder) {
  Report report;
  switch (platform::KindOfPath(folder)) {
    case platform::PathKind::Missing:
      report.folder = FolderState::Missing;
      return report;
    case platform::PathKind::File:
      report.folder = FolderState::NotAFolder;
      return report;
    case platform::PathKind::Folder:
      break;
  }
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(folder, entries)) {
    report.folder = FolderState::Unreadable;
    return report;
  }
  SetPaths(folder);
  report.root = tAppPath;
  Checker(report).Run();
  return report;
}

int ExitStatus(const Report& report) {
  if (report.folder != FolderState::Ok) return 3;
  int status = 0;
  for (const Finding& f : report.findings) {
    if (SeverityOf(f.kind) == Severity::Stop) return 2;
    if (SeverityOf(f.kind) == Severity::Problem) status = 1;
  }
  return status;
}

}  // namespace check
