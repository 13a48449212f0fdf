// Starting the chosen game's installer.
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "startup/DiscFilesModule.h"
#include "startup/MainModule.h"

using namespace DiscFilesModule;
using namespace MainModule;

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
      exe.empty() ? 0 : platform::StartProgram(folder + exe, platform::ShowState::Minimized);
  const auto code = static_cast<std::int32_t>(started);
  if (code >= 1) return;
  platform::ShowMessage(LaunchFailureText(code, tSupportMail), LaunchFailureTitle(code),
                        platform::MessageIcon::Information);
}
