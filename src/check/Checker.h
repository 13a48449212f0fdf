// The disc check's walk through one disc folder, shared by the files that
// check each part of it: start-up and the list's entries (DiscCheck.cpp), the
// control file and autorun.inf (ControlFileCheck.cpp), texts (TextCheck.cpp),
// sounds and pictures (MediaCheck.cpp), and every name on the disc
// (DiscWalk.cpp).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "check/DiscCheck.h"
#include "platform/Platform.h"
#include "sound/ApiPlaySoundClass.h"
#include "startup/IniEditorModule.h"
#include "startup/MainModule.h"
#include "util/LoadFileModule.h"

namespace check {

std::wstring Lower(const std::wstring& s);
bool EndsWithNoCase(const std::wstring& s, const std::wstring& tail);

// A file there, by one of the names an author may have given it instead of
// the one wanted (Explorer hides extensions, so ".txt" is easily added).
std::wstring NearName(const std::wstring& folder, std::initializer_list<const wchar_t*> names);

// A file the program would find but for its hidden or system mark.
bool HiddenFile(const std::wstring& file);

class Checker {
 public:
  explicit Checker(Report& report) : report_(report) {}

  void Run();

 private:
  // Adds a finding on the file or folder `fullPath`.
  void Add(Kind kind, const std::wstring& fullPath, std::wstring value = {}, long long number = 0,
           int line = 0, std::wstring other = {});
  // A path relative to the disc folder.
  std::wstring Relative(const std::wstring& full) const;

  void StartUp();
  // The control file.
  void ControlFile();
  void KeyLines();
  void KeyValue(const MainModule::ControlFileKey& key);
  bool Seen(MainModule::KeyUse use) const;
  void Support(const MainModule::ControlFileKey& key, const std::wstring& whole);
  int LineOf(const std::wstring& key) const;
  void AutorunInf();
  // Texts.
  // A text the program shows, read as it reads one; false when it finds none.
  bool ReadShownText(const std::wstring& file, LoadFileModule::TextHead& head);
  void TextFaults(const std::wstring& file, const LoadFileModule::TextHead& head,
                  const std::string& bytes, std::size_t limit, bool shown);
  void ReadMe();
  // Sounds and pictures.
  void Sounds();
  void Screenshot(const std::wstring& folder);
  // The list's entries.
  void Entry(const std::wstring& entry, bool game);
  void Games();
  void Installer(const std::wstring& name);
  // Every name on the disc.
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

}  // namespace check
