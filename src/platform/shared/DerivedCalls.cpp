// The platform calls that are made of other platform calls, the same on
// every implementation.
#include "platform/Platform.h"

namespace platform {

// The folders the program lists: neither hidden nor system ones.
bool ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& names) {
  names.clear();
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder, entries)) return false;
  for (FolderEntry& entry : entries)
    if (entry.folder && !entry.hidden && !entry.system) names.push_back(std::move(entry.name));
  return true;
}

ReadStatus ReadFileHead(const std::wstring& path, std::size_t maxBytes, std::string& bytes) {
  return ReadFileAt(path, 0, maxBytes, bytes);
}

}  // namespace platform
