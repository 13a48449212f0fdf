#include "platform/Controls.h"

#include <algorithm>

#include "platform/FolderOrder.h"
#include "platform/HintedSort.h"
#include "platform/Platform.h"

namespace platform {

bool DirListBox::SetPath(const std::wstring& path) {
  paths_.clear();
  std::vector<std::wstring> names;
  if (!ListSubfolders(path, names)) return false;
  // Names the system calls equal (they differ only in case, or in leading
  // zeros) keep one fixed order. The system's comparison costs microseconds
  // a pair (under Wine); the program's own model of it agrees on nearly every
  // name and costs far less, so it puts the names in order first.
  HintedSort(
      names,
      [](const std::wstring& a, const std::wstring& b) {
        const int order = CompareLikeExplorer(a, b);
        return order != 0 ? order < 0 : a < b;
      },
      [](const std::wstring& a, const std::wstring& b) {
        const int order = CompareFolderNames(a, b);
        return order != 0 ? order < 0 : a < b;
      });
  std::wstring folder = path;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  paths_.reserve(names.size());
  for (const std::wstring& name : names) paths_.push_back(folder + name);
  return true;
}

}  // namespace platform
