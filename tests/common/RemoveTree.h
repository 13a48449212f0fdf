// Removes a folder's contents, read-only and hidden files included, for the
// Windows test programs that build folders of their own.
#pragma once

#include <windows.h>

#include <string>

namespace testfiles {

// `folder` ends in a backslash; the folder itself stays.
inline void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + name;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path + L"\\");
      ::RemoveDirectoryW(path.c_str());
    } else {
      ::DeleteFileW(path.c_str());
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

}  // namespace testfiles
