#include "check/DiscCheck.h"

#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "check/Checker.h"
#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "startup/DiscFilesModule.h"

namespace check {

using namespace MainModule;
using namespace DiscFilesModule;

std::wstring Lower(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s) out += static_cast<wchar_t>(std::towlower(c));
  return out;
}

bool EndsWithNoCase(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == Lower(tail);
}

std::wstring NearName(const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names)
    if (platform::KindOfPath(folder + name) == platform::PathKind::File) return name;
  return std::wstring();
}

bool HiddenFile(const std::wstring& file) {
  return platform::KindOfPath(file) == platform::PathKind::File &&
         platform::FindOrdinaryFile(file).empty();
}

void Checker::Add(Kind kind, const std::wstring& fullPath, std::wstring value, long long number,
                  int line, std::wstring other) {
  report_.findings.push_back(Finding{.kind = kind,
                                     .path = Relative(fullPath),
                                     .line = line,
                                     .value = std::move(value),
                                     .other = std::move(other),
                                     .number = number});
}

std::wstring Checker::Relative(const std::wstring& full) const {
  return full.compare(0, tAppPath.size(), tAppPath) == 0 ? full.substr(tAppPath.size()) : full;
}

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
  iniRead_ = IniEditorModule::ReadIniHead(tIniFile, iniHead_, &iniBytes_);
  tDiskName = ReadSetting(iniHead_.text, KeyUse::DiscName);
  helpButton_ = HelpButtonMode(ReadSetting(iniHead_.text, KeyUse::HelpButtonMode));
  readMeRead_ = ReadShownText(tReadMeFile, readMeHead_);
  readMeBytes_ = std::move(bytes_);
  readMe_ = readMeRead_ && !readMeHead_.text.empty();
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
