#include "platform/Controls.h"

#include "startup/GameFolderModule.h"

namespace platform {

bool DirListBox::SetPath(const std::wstring& path) {
  return GameFolderModule::ListGameFolders(path, paths_);
}

}  // namespace platform
