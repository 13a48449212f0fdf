// The game folders of a disc, in the order the program lists them.
#pragma once

#include <string>
#include <vector>

namespace GameFolderModule {

// Sets `paths` to the full paths of the folders in `folder` (given with or
// without its trailing backslash), in the order Explorer shows them; false
// when the folder cannot be read. Used by the folder list and by the check.
bool ListGameFolders(const std::wstring& folder, std::vector<std::wstring>& paths);

}  // namespace GameFolderModule
