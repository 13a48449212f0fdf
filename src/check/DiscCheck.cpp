#include "check/DiscCheck.h"

#include <algorithm>
#include <cwctype>
#include <limits>
#include <utility>

#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "check/WaveFormat.h"
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "platform/shared/PictureHeader.h"
#include "sound/ApiPlaySoundClass.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/MainModule.h"
#include "util/LoadFileModule.h"

namespace check {

const wchar_t* const kNotAPicture = L"not a picture";
const wchar_t* const kTooLarge = L"too large";
const wchar_t* const kCutOff = L"cut off";
const wchar_t* const kUnreadable = L"unreadable";

namespace {

using namespace MainModule;

// Bounds of the walk over the disc's files: a deeper tree or more entries
// than this is no disc, and is not walked further.
constexpr int kMaxDepth = 48;
constexpr std::size_t kMaxEntries = 2'000'000;
// A key's value read whole, to tell whether the reader's buffer cut it.
constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max() / 4;
// LookUp's answer for a key that is not there: no value can hold a line break.
const std::wstring kAbsent = L"\n";

std::wstring Lower(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s) out += static_cast<wchar_t>(std::towlower(c));
  return out;
}

bool EndsWithNoCase(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == Lower(tail);
}

// A text the program shows, read as it reads one (LoadFile): an ordinary
// file, its head up to the limit. False when the program would find none.
bool ReadShownText(const std::wstring& file, LoadFileModule::TextHead& head) {
  return !platform::FindOrdinaryFile(file).empty() &&
         LoadFileModule::ReadTextHead(file, LoadFileModule::kMaxTextBytes, head) ==
             platform::ReadStatus::Ok;
}

std::wstring EncodingName(TextDecodeModule::Encoding encoding) {
  switch (encoding) {
    case TextDecodeModule::Encoding::Ansi:
      return L"ANSI";
    case TextDecodeModule::Encoding::Utf8:
      return L"UTF-8";
    case TextDecodeModule::Encoding::Utf8Bom:
      return L"UTF-8 BOM";
    case TextDecodeModule::Encoding::Utf16Le:
      return L"UTF-16LE";
    case TextDecodeModule::Encoding::Utf16Be:
      return L"UTF-16BE";
  }
  return std::wstring();
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

class Checker {
 public:
  explicit Checker(Report& report) : report_(report) {}

  void Run();

 private:
  void Add(Kind kind, Severity severity, const std::wstring& fullPath, std::wstring value = {},
           std::wstring detail = {}, long long number = 0) {
    report_.findings.push_back(
        {kind, severity, Relative(fullPath), std::move(value), std::move(detail), number});
  }
  std::wstring Relative(const std::wstring& full) const {
    return full.compare(0, tAppPath.size(), tAppPath) == 0 ? full.substr(tAppPath.size()) : full;
  }

  void StartUp();
  void ControlFile();
  std::wstring Setting(const wchar_t* key) const {
    return IniEditorModule::ReadIniFrom(iniHead_.text, kSection, key);
  }
  void TextNote(const std::wstring& file, const LoadFileModule::TextHead& head, std::size_t limit);
  void TextCut(const std::wstring& file, const LoadFileModule::TextHead& head, std::size_t limit);
  void ReadMe();
  void Sounds();
  void Entry(const std::wstring& entry, Severity missing);
  void Games();
  void Installer(const std::wstring& name);
  void Screenshot(const std::wstring& file, Severity missing);
  void AutorunInf();
  void Walk();
  void NameRules(const std::wstring& full, const std::wstring& name);
  void IgnoredEntry(const std::wstring& folder, const platform::FolderEntry& entry, int depth);

  Report& report_;
  ApiPlaySoundClass sound_;
  bool soundFolder_ = false, controlFile_ = false, games_ = false;
  LoadFileModule::TextHead iniHead_, readMeHead_;  // as start-up read them
  bool iniRead_ = false, readMeRead_ = false;
  std::int32_t helpButton_ = 0;
  bool readMe_ = false;  // a read-me the program shows
  std::wstring supportMail_;
};

void Checker::Run() {
  StartUp();
  if (controlFile_) ControlFile();
  ReadMe();
  if (soundFolder_) Sounds();
  Entry(tDiskName, Severity::Note);
  if (games_) Games();
  AutorunInf();
  Walk();
}

void Checker::StartUp() {
  if (platform::KindOfPath(tAppPath + L"Varnolt.exe") != platform::PathKind::File)
    Add(Kind::ProgramMissing, Severity::Stop, tAppPath + L"Varnolt.exe");
  soundFolder_ = SoundFolderUsable(sound_);
  if (!soundFolder_)
    Add(Kind::SoundFolderUnusable, Severity::Stop, tAutorunPath, SoundFolderMessage(),
        kSoundFolderTitle);
  controlFile_ = ControlFilePresent();
  if (!controlFile_)
    Add(Kind::ControlFileMissing, Severity::Stop, tIniFile, ControlFileMessage(tIniFile),
        kErrorTitle);
  games_ = GamesPresent(fMain().drGame);
  if (!games_)
    Add(Kind::NoGames, Severity::Stop, tGamesPath, NoGamesMessage(tGamesPath), kErrorTitle);
  // Start-up keeps these whether the control file is there or not. Each
  // file is read once; every later look at it uses that reading.
  iniRead_ = LoadFileModule::ReadTextHead(tIniFile, IniEditorModule::kMaxIniBytes, iniHead_) ==
             platform::ReadStatus::Ok;
  tDiskName = Setting(kKeyDisk);
  helpButton_ = HelpButtonMode(Setting(kKeyHelpButton));
  supportMail_ = SupportMail(Setting(kKeySupport));
  readMeRead_ = ReadShownText(tReadMeFile, readMeHead_);
  readMe_ = readMeRead_ && !readMeHead_.text.empty();
}

void Checker::ControlFile() {
  if (iniRead_) TextNote(tIniFile, iniHead_, IniEditorModule::kMaxIniBytes);
  std::vector<IniEditorModule::IniLine> lines;
  if (!IniEditorModule::SectionLines(iniHead_.text, kSection, lines)) {
    Add(Kind::SectionMissing, Severity::Problem, tIniFile, kSection);
    return;
  }

  // Lines: keys the program does not know, and keys given twice.
  std::vector<bool> seen(kKeyCount, false);
  for (const IniEditorModule::IniLine& line : lines) {
    if (line.name.starts_with(L';')) continue;  // a comment
    int known = -1;
    for (int k = 0; k < kKeyCount; ++k)
      if (IniEditorModule::SameName(line.name, kControlFileKeys[k])) known = k;
    if (known < 0) {
      std::wstring meant;
      for (const wchar_t* key : kControlFileKeys)
        if (Distance(line.name, key) <= 2 && line.name.size() > 2) meant = key;
      Add(Kind::UnknownKey, Severity::Problem, tIniFile, line.name, meant);
    } else if (seen[static_cast<std::size_t>(known)]) {
      Add(Kind::DuplicateKey, Severity::Problem, tIniFile, kControlFileKeys[known]);
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
    const bool caption = name != kKeyHelpButton && name != kKeyScreenReader && name != kKeySupport;
    // The read-me button's caption shows only with the button, the read-me
    // window's heading only with a read-me.
    const bool shown =
        (name != kKeyReadMe || ReadMeButtonVisible(helpButton_)) && (name != kKeyHelp || readMe_);
    if (whole == kAbsent) {
      if (caption && shown) Add(Kind::KeyMissing, Severity::Problem, tIniFile, key, value);
      continue;
    }
    if (whole.size() > value.size())
      Add(Kind::ValueCut, Severity::Problem, tIniFile, key, value,
          static_cast<long long>(whole.size()));
    if (caption && shown && value.empty()) Add(Kind::KeyEmpty, Severity::Problem, tIniFile, key);
    const bool labelOrButton = name == kKeyList || name == kKeyDescription || name == kKeyInstall ||
                               name == kKeyClose || name == kKeyReadMe;
    if (labelOrButton && shown && HasAccessKey(value))
      Add(Kind::AccessKey, Severity::Problem, tIniFile, key, value);
    if (name == kKeyHelpButton) {
      const bool plain =
          IniValueModule::IsNumber(value) && IniValueModule::LeadingNumber(value) == helpButton_;
      if (!plain || helpButton_ < 0 || helpButton_ > 2)
        Add(Kind::HelpButtonValue, Severity::Problem, tIniFile, value, key, helpButton_);
    }
    if (name == kKeyScreenReader) {
      if (!IniValueModule::ReadTruthValue(value))
        Add(Kind::ScreenReaderValue, Severity::Problem, tIniFile, value, key);
      if (IniValueModule::ToTruthValue(value) &&
          platform::KindOfPath(tNvdaFile) != platform::PathKind::File)
        Add(Kind::ScreenReaderMissing, Severity::Problem, tNvdaFile, value);
    }
  }
}

void Checker::TextNote(const std::wstring& file, const LoadFileModule::TextHead& head,
                       std::size_t limit) {
  Add(Kind::TextEncoding, Severity::Note, file, EncodingName(head.encoding));
  TextCut(file, head, limit);
}

void Checker::TextCut(const std::wstring& file, const LoadFileModule::TextHead& head,
                      std::size_t limit) {
  if (head.cut) Add(Kind::TextCut, Severity::Problem, file, {}, {}, static_cast<long long>(limit));
}

void Checker::ReadMe() {
  if (readMeRead_) TextNote(tReadMeFile, readMeHead_, LoadFileModule::kMaxTextBytes);
  if (!readMe_ && ReadMeButtonVisible(helpButton_))
    Add(Kind::ReadMeMissing, Severity::Problem, tReadMeFile, {}, {}, helpButton_);
}

void Checker::Sounds() {
  for (const wchar_t* name : {kSoundClick, kSoundLoad, kSoundStart, kSoundStop}) {
    const std::wstring file = tAutorunPath + name + L".wav";
    if (sound_.AddFile(name) == ApiPlaySoundClass::kNoSuchFile) {
      Add(Kind::SoundMissing, Severity::Problem, file, name);
      continue;
    }
    const WaveFacts wave = ExamineWave(FileBytes(file));
    if (wave.verdict == WaveVerdict::Playable) continue;
    // The report says in words why a file is no sound; only a format the
    // system does not play needs its figures.
    std::wstring detail;
    if (wave.verdict == WaveVerdict::UnknownFormat || wave.verdict == WaveVerdict::BadFormat)
      detail = L"format " + std::to_wstring(wave.formatTag) + L", " +
               std::to_wstring(wave.bitsPerSample) + L" bit, " + std::to_wstring(wave.channels) +
               L" ch, " + std::to_wstring(wave.sampleRate) + L" Hz";
    Add(Kind::SoundUnplayable, Severity::Problem, file, name, detail,
        static_cast<long long>(wave.verdict));
  }
}

// The entry's line in the list's order, then its description and screenshot.
void Checker::Entry(const std::wstring& entry, Severity missing) {
  const std::wstring folder = EntryFolder(entry);
  const std::wstring description = folder + kDescriptionFile;
  LoadFileModule::TextHead head;
  const bool found = ReadShownText(description, head);
  const std::wstring encoding = head.text.empty() ? std::wstring() : EncodingName(head.encoding);
  if (IsDiscEntry(entry)) {
    Add(Kind::DiscEntry, Severity::Note, folder, entry, encoding);
  } else {
    ++report_.games;
    Add(Kind::Game, Severity::Note, folder, entry, encoding, report_.games);
  }
  if (!found)
    Add(Kind::DescriptionMissing, missing, description, entry);
  else if (head.text.empty())
    Add(Kind::DescriptionEmpty, missing, description, entry);
  TextCut(description, head, LoadFileModule::kMaxTextBytes);
  Screenshot(folder + kScreenshotFile, missing);
}

void Checker::Screenshot(const std::wstring& file, Severity missing) {
  // The picture is opened by its path, hidden or not.
  if (platform::KindOfPath(file) != platform::PathKind::File) {
    Add(Kind::ScreenshotMissing, missing, file);
    return;
  }
  const FileBytes bytes(file);
  if (!bytes.Opened()) {
    Add(Kind::ScreenshotUnshown, Severity::Problem, file, {}, kUnreadable);
    return;
  }
  platform::PictureHeader header;
  if (platform::WorthDecoding(bytes, header)) return;
  const std::wstring size = std::to_wstring(header.width) + L"x" + std::to_wstring(header.height);
  if (header.format == platform::PictureFormat::None || header.width == 0 || header.height == 0)
    Add(Kind::ScreenshotUnshown, Severity::Problem, file, {}, kNotAPicture);
  else if (!platform::PlausiblePictureSize(header))
    Add(Kind::ScreenshotUnshown, Severity::Problem, file, size, kTooLarge);
  else
    Add(Kind::ScreenshotUnshown, Severity::Problem, file, size, kCutOff);
}

void Checker::Games() {
  platform::DirListBox& drGame = fMain().drGame;
  const int n = drGame.ListCount();
  for (int i = 0; i < n; ++i) {
    const std::wstring name = GameEntry(drGame.List(i));
    if (IsDiscEntry(name)) {
      ++report_.games;
      Add(Kind::GameIsDiscEntry, Severity::Problem, GameFolder(name), name, {}, report_.games);
      continue;
    }
    Entry(name, Severity::Problem);
    Installer(name);
  }
}

void Checker::Installer(const std::wstring& name) {
  const std::wstring folder = GameFolder(name);
  const std::vector<std::wstring> programs = ProgramFiles(folder);
  if (programs.empty()) {
    Add(Kind::NoInstaller, Severity::Problem, folder, LaunchFailureTitle(0),
        LaunchFailureText(0, supportMail_));
    return;
  }
  const std::wstring& exe = programs.front();  // the one the launch starts
  const std::wstring path = folder + exe;
  if (programs.size() > 1) {
    std::wstring all;
    for (const std::wstring& program : programs) all += (all.empty() ? L"" : L", ") + program;
    Add(Kind::SeveralInstallers, Severity::Problem, path, exe, all,
        static_cast<long long>(programs.size()));
  }
  // On the disc the folder is a drive's root: "D:\" and the path within.
  const std::size_t burned = 3 + Relative(path).size();
  if (burned > kMaxPathChars)
    Add(Kind::InstallerPathTooLong, Severity::Problem, path, exe, {},
        static_cast<long long>(burned));
  // A program's headers lie in its first few kilobytes; its resources are read
  // where its section table says.
  const ProgramFacts facts = ExamineProgram(FileBytes(path, 4096), exe);
  if (!facts.program) {
    Add(Kind::InstallerNotProgram, Severity::Problem, path, exe);
  } else if (facts.elevation != Elevation::None) {
    Add(Kind::InstallerAsksAdmin, Severity::Note, path, facts.level,
        facts.elevation == Elevation::Manifest ? L"manifest" : L"name");
  }
}

void Checker::AutorunInf() {
  const std::wstring file = tAppPath + L"autorun.inf";
  LoadFileModule::TextHead head;
  if (platform::KindOfPath(file) != platform::PathKind::File ||
      LoadFileModule::ReadTextHead(file, IniEditorModule::kMaxIniBytes, head) !=
          platform::ReadStatus::Ok) {
    Add(Kind::AutorunInfMissing, Severity::Problem, file);
    return;
  }
  std::wstring shown;
  for (const wchar_t* key : {L"open", L"shellexecute"}) {
    const std::wstring value =
        IniEditorModule::LookUp(head.text, L"autorun", key, L"", IniEditorModule::kValueBufferSize);
    if (value.empty()) continue;
    if (shown.empty()) shown = value;
    // The program is the first word, or the quoted text at the start.
    std::wstring program = value;
    if (program.front() == L'"') {
      const std::size_t close = program.find(L'"', 1);
      program = program.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    } else {
      program = program.substr(0, program.find(L' '));
    }
    if (program.compare(0, 2, L".\\") == 0) program = program.substr(2);
    if (Lower(program) == L"varnolt.exe") return;
  }
  Add(Kind::AutorunInfWrong, Severity::Problem, file, shown);
}

void Checker::NameRules(const std::wstring& full, const std::wstring& name) {
  const std::wstring why = ForbiddenInName(name);
  if (!why.empty()) Add(Kind::BadName, Severity::Problem, full, name, why);
  if (name.size() > kJolietNameChars)
    Add(Kind::LongName, Severity::Problem, full, name, {}, static_cast<long long>(name.size()));
}

// Hidden and system entries where the program looks: it passes them by.
void Checker::IgnoredEntry(const std::wstring& folder, const platform::FolderEntry& entry,
                           int depth) {
  if (!entry.hidden && !entry.system) return;
  const std::wstring name = Lower(entry.name);
  const std::wstring full = folder + entry.name;
  const std::wstring where = Lower(Relative(folder));
  bool used = false;
  if (depth == 0)
    used = !entry.folder && (name == L"autorun.ini" || name == L"read.me.txt");
  else if (depth == 1 && where == L"autorun\\")
    used = !entry.folder && (name == L"click.wav" || name == L"load.wav" || name == L"start.wav" ||
                             name == L"stop.wav" || name == kDescriptionFile);
  else if (depth == 1 && where == L"games\\")
    used = entry.folder;
  else if (depth == 2 && where.compare(0, 6, L"games\\") == 0)
    used = !entry.folder && (name == kDescriptionFile || EndsWithNoCase(name, L".exe"));
  if (used)
    Add(Kind::Ignored, Severity::Problem, entry.folder ? full + L"\\" : full, entry.name,
        entry.system ? L"system" : L"hidden", entry.folder ? 1 : 0);
}

void Checker::Walk() {
  std::vector<std::pair<std::wstring, int>> pending = {{tAppPath, 0}};
  std::size_t entries = 0;
  std::vector<platform::FolderEntry> listed;
  while (!pending.empty()) {
    const auto [folder, depth] = pending.back();
    pending.pop_back();
    if (!platform::ListFolder(folder, listed)) {
      Add(Kind::FolderUnreadable, Severity::Problem, folder);
      continue;
    }
    // Sub-folders are walked in the order they are listed.
    const std::size_t firstPending = pending.size();
    for (const platform::FolderEntry& entry : listed) {
      if (++entries > kMaxEntries) {
        Add(Kind::TooManyEntries, Severity::Note, tAppPath, {}, {},
            static_cast<long long>(kMaxEntries));
        return;
      }
      const std::wstring full = folder + entry.name;
      NameRules(entry.folder ? full + L"\\" : full, entry.name);
      IgnoredEntry(folder, entry, depth);
      if (!entry.folder) continue;
      if (entry.reparsePoint)
        Add(Kind::LinkNotFollowed, Severity::Note, full + L"\\");
      else if (depth + 1 >= kMaxDepth)
        Add(Kind::TooDeep, Severity::Note, full + L"\\", {}, {}, kMaxDepth);
      else
        pending.emplace_back(full + L"\\", depth + 1);
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstPending), pending.end());
  }
}

}  // namespace

std::wstring ForbiddenInName(const std::wstring& name) {
  for (wchar_t c : name)
    if (c < 0x20 || c == L'?' || c == L'*' || c == L'"' || c == L'|' || c == L'<' || c == L'>' ||
        c == L':' || c == L'/' || c == L'\\')
      return std::wstring(1, c);
  if (!name.empty() && (name.back() == L'.' || name.back() == L' '))
    return std::wstring(1, name.back());
  return std::wstring();
}

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
    if (f.severity == Severity::Stop) return 2;
    if (f.severity == Severity::Problem) status = 1;
  }
  return status;
}

}  // namespace check
