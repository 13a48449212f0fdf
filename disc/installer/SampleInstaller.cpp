// The installer of every game on the sample disc. It installs nothing: it
// says which game's installation would start here and ends, writing nothing.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

#include "platform/win32/ModulePath.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The game is the folder this installer lies in: games\<game>\setup.exe.
  std::wstring folder = platform::win32::ModulePath();
  const std::size_t slash = folder.find_last_of(L"\\/");
  folder.erase(slash == std::wstring::npos ? 0 : slash);
  const std::size_t parentSlash = folder.find_last_of(L"\\/");
  const std::wstring game =
      parentSlash == std::wstring::npos ? folder : folder.substr(parentSlash + 1);

  const std::wstring text = L"Здесь началась бы установка игры «" + game + L"».\r\n\r\n" +
                            L"Папка игры:\r\n" + folder + L"\r\n\r\n" +
                            L"Это пример диска: ничего не устанавливается и не записывается.";
  ::MessageBoxW(nullptr, text.c_str(), (L"Установка: " + game).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
  return 0;
}
