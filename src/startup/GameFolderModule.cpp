#include "startup/GameFolderModule.h"

#include "platform/Platform.h"
#include "platform/shared/FolderOrder.h"
#include "platform/shared/HintedSort.h"

namespace GameFolderModule {

bool ListGameFolders(const std::wstring& folder, std::vector<std::wstring>& paths) {
  paths.clear();
  std::vector<std::wstring> names;
  if (!platform::ListSubfolders(folder, names)) return false;
  // Names the system calls equal (they differ only in case, or in leading
  // zeros) keep one fixed order. The system's comparison costs microseconds
  // a pair (under Wine); the program's own model of it agrees on nearly every
  // name and costs far less, so it puts the names in order first.
  platform::HintedSort(
      names,
      [](const std::wstring& a, const std::wstring& b) {
        const int order = platform::CompareLikeExplorer(a, b);
        return order != 0 ? order < 0 : a < b;
      },
      [](const std::wstring& a, const std::wstring& b) {
        const int order = platform::CompareFolderNames(a, b);
        return order != 0 ? order < 0 : a < b;
      });
  std::wstring prefix = folder;
  if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
  paths.reserve(names.size());
  for (const std::wstring& name : names) paths.push_back(prefix + name);
  return true;
}

}  // namespace GameFolderModule
