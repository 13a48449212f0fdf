#include "startup/DiscFilesModule.h"

#include "platform/Platform.h"
#include "startup/MainModule.h"

namespace DiscFilesModule {

const wchar_t* const kDescriptionFile = L"descript.ion";
const wchar_t* const kScreenshotFile = L"screenshot.jpg";

// The disc's own entry is told by its text, never by its position.
bool IsDiscEntry(const std::wstring& entry) { return entry == MainModule::tDiskName; }

std::wstring EntryFolder(const std::wstring& entry) {
  return IsDiscEntry(entry) ? MainModule::tAutorunPath : GameFolder(entry);
}

std::wstring GameFolder(const std::wstring& name) { return MainModule::tGamesPath + name + L"\\"; }

bool EndsWithExe(const std::wstring& name) {
  if (name.size() < 4) return false;
  const std::wstring tail = name.substr(name.size() - 4);
  return tail[0] == L'.' && (tail[1] | 0x20) == L'e' && (tail[2] | 0x20) == L'x' &&
         (tail[3] | 0x20) == L'e';
}

// The system matches "*.exe" against short names too ("readme.exe.txt" as
// README~1.EXE): only files whose own name ends in ".exe" count.
std::vector<std::wstring> ProgramFiles(const std::wstring& folder) {
  std::vector<std::wstring> programs;
  for (std::wstring& name : platform::ListOrdinaryFiles(folder + L"*.exe"))
    if (EndsWithExe(name)) programs.push_back(std::move(name));
  return programs;
}

std::wstring FirstProgram(const std::wstring& folder) {
  const std::vector<std::wstring> programs = ProgramFiles(folder);
  return programs.empty() ? std::wstring() : programs.front();
}

}  // namespace DiscFilesModule
