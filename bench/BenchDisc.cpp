#include "BenchDisc.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "TestDiscFiles.h"
#include "TestSupport.h"

namespace bench {
namespace {

const wchar_t* const kCyrillicNames[] = {L"Игра 1", L"Игра 12", L"Ёжик в тумане", L"Шахматы",
                                         L"Морской бой"};
constexpr int kCyrillicCount = sizeof kCyrillicNames / sizeof kCyrillicNames[0];

// UTF-8 with a byte-order mark, as a disc author's editor saves it.
const char kAutorunIni[] =
    "\xEF\xBB\xBF"
    "[main]\r\n"
    "disk=Диск для замеров\r\n"
    "list=Список игр\r\n"
    "description=Описание\r\n"
    "install=Установить\r\n"
    "close=Закрыть\r\n"
    "readme=Прочти меня\r\n"
    "ScreenReader=0\r\n"
    "help=Справка\r\n"
    "HelpButton=1\r\n";

}  // namespace

bool PlaceProgram(const std::wstring& from, const std::wstring& to) {
  return ::CreateHardLinkW(to.c_str(), from.c_str(), nullptr) ||
         ::CopyFileW(from.c_str(), to.c_str(), TRUE);
}

std::vector<std::wstring> GameNames(int count) {
  std::vector<std::wstring> names;
  if (count <= 0) return names;
  const int cyrillic = count >= 10 ? kCyrillicCount : 0;
  names.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count - cyrillic; ++i) names.push_back(L"Game " + std::to_wstring(i));
  for (int i = 0; i < cyrillic; ++i) names.push_back(kCyrillicNames[i]);
  return names;
}

bool MakeDisc(const std::wstring& root, int games, std::wstring& error) {
  const std::wstring autorun = root + L"\\autorun";
  const std::wstring gamesFolder = root + L"\\games";
  for (const std::wstring& folder : {root, autorun, gamesFolder}) {
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
      error = L"cannot make the folder " + folder;
      return false;
    }
  }
  if (!testsupport::WriteFile(root + L"\\autorun.ini", kAutorunIni)) {
    error = L"cannot write autorun.ini";
    return false;
  }
  // 40 ms of 16-bit mono PCM each.
  const std::string wave = testfiles::Wave(1, 1, 22050, 16, 1764);
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"}) {
    const std::wstring path = autorun + L"\\" + sound + L".wav";
    if (!testsupport::WriteFile(path, wave)) {
      error = L"cannot write " + path;
      return false;
    }
  }
  for (const std::wstring& name : GameNames(games)) {
    const std::wstring folder = gamesFolder + L"\\" + name;
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
      error = L"cannot make the folder " + folder;
      return false;
    }
  }
  return true;
}

Summary Summarise(std::vector<double> times) {
  Summary s;
  if (times.empty()) return s;
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  s.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  s.min = times.front();
  return s;
}

}  // namespace bench
