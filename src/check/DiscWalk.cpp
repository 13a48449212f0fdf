// Every file and folder on the disc: names Windows or the disc format refuse,
// and hidden ones where the program looks.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "check/Checker.h"
#include "startup/DiscFilesModule.h"

namespace check {
namespace {

using namespace MainModule;
using namespace DiscFilesModule;

// Bounds of the walk over the disc's files: a deeper tree or more entries
// than this is no disc, and is not walked further.
constexpr int kMaxDepth = 48;
constexpr std::size_t kMaxEntries = 2'000'000;

}  // namespace

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

}  // namespace check
