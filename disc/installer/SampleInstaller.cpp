// The installer of every game on the sample disc. It installs nothing: it
// says which game's installation would start here and ends, writing nothing.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace {

// This program's own full path, however long.
std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The game is the folder this installer lies in: games\<game>\setup.exe.
  std::wstring folder = OwnPath();
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
