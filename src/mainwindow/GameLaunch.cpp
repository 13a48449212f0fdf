// Starting the chosen game's installer.
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "startup/MainModule.h"

using namespace MainModule;

namespace {

bool EndsWithExe(const std::wstring& name) {
  if (name.size() < 4) return false;
  const std::wstring tail = name.substr(name.size() - 4);
  return tail[0] == L'.' && (tail[1] | 0x20) == L'e' && (tail[2] | 0x20) == L'x' &&
         (tail[3] | 0x20) == L'e';
}

}  // namespace

std::wstring GameFolder(const std::wstring& name) { return tGamesPath + name + L"\\"; }

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

std::wstring LaunchFailureTitle(std::int32_t code) { return L"Error! " + std::to_wstring(code); }

std::wstring LaunchFailureText(std::int32_t code, const std::wstring& supportMail) {
  const std::wstring number = std::to_wstring(code);
  return number + L"\r\n" + L"Не установлена. Пожалуйста, сообщите об этом на:\r\n" + supportMail +
         L"\r\n" + L"И пришлите пожалуйста ссылку на программу, вызвавшую эту ошибку.\r\n" +
         L"В письме укажите код ошибки: " + number + L".";
}

void MainWindow::btInstall_Click() {
  if (oSound) oSound->PlayAsync(iSndClick);
  const int index = lsGame.ListIndex();
  if (index < 0) return;
  const std::wstring folder = GameFolder(lsGame.List(index));
  const std::wstring exe = FirstProgram(folder);
  // A folder without a program has nothing to start: the launch fails.
  const std::uint32_t started =
      exe.empty() ? 0 : platform::StartProgram(folder + exe, platform::kShowMinimized);
  const auto code = static_cast<std::int32_t>(started);
  if (code >= 1) return;
  platform::ShowMessage(LaunchFailureText(code, tSupportMail), LaunchFailureTitle(code),
                        platform::kIconInformation);
}
