#include "platform/Controls.h"

#include <algorithm>

#include "platform/FolderOrder.h"
#include "platform/Platform.h"

namespace platform {

bool DirListBox::SetPath(const std::wstring& path) {
  paths_.clear();
  std::vector<std::wstring> names;
  if (!ListSubfolders(path, names)) return false;
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareLikeExplorer(a, b) < 0;
  });
  std::wstring folder = path;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  paths_.reserve(names.size());
  for (const std::wstring& name : names) paths_.push_back(folder + name);
  return true;
}

}  // namespace platform
