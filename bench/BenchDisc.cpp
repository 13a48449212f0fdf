#include "BenchDisc.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

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

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A short, quiet tone as a 16-bit mono PCM wave.
std::string Wave(double hertz, int milliseconds) {
  constexpr std::uint32_t kRate = 22050;
  const std::uint32_t samples = kRate * static_cast<std::uint32_t>(milliseconds) / 1000;
  const std::uint32_t dataBytes = samples * 2;
  std::string w = "RIFF";
  PutLittleEndian(w, 36 + dataBytes, 4);
  w += "WAVEfmt ";
  PutLittleEndian(w, 16, 4);         // format chunk size
  PutLittleEndian(w, 1, 2);          // PCM
  PutLittleEndian(w, 1, 2);          // mono
  PutLittleEndian(w, kRate, 4);      // samples per second
  PutLittleEndian(w, kRate * 2, 4);  // bytes per second
  PutLittleEndian(w, 2, 2);          // block align
  PutLittleEndian(w, 16, 2);         // bits per sample
  w += "data";
  PutLittleEndian(w, dataBytes, 4);
  const double step = 2 * 3.14159265358979 * hertz / kRate;
  for (std::uint32_t i = 0; i < samples; ++i) {
    const auto sample = static_cast<std::int16_t>(2000 * std::sin(step * i));
    PutLittleEndian(w, static_cast<std::uint16_t>(sample), 2);
  }
  return w;
}

// A small, fast, well-mixed generator: the noise of one pixel depends only
// on the seed and the pixel's place, so strips can be made in any order.
std::uint32_t Mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

std::uint8_t Clamp(int value) {
  return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

struct FindDialog {
  DWORD pid;
  const std::wstring* prefix;
  HWND found;
};

BOOL CALLBACK PickDialog(HWND window, LPARAM param) {
  auto& f = *reinterpret_cast<FindDialog*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != f.pid || !::IsWindowVisible(window)) return TRUE;
  wchar_t name[16];
  if (!::GetClassNameW(window, name, 16) || std::wstring(name) != L"#32770") return TRUE;
  std::wstring title(256, L'\0');
  title.resize(static_cast<std::size_t>(
      std::max(0, ::GetWindowTextW(window, &title[0], static_cast<int>(title.size())))));
  if (title.compare(0, f.prefix->size(), *f.prefix) != 0) return TRUE;
  f.found = window;
  return FALSE;
}

}  // namespace

bool WriteNewFile(const std::wstring& path, const void* data, std::size_t size) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) &&
                  written == static_cast<DWORD>(size);
  return ::CloseHandle(file) && ok;
}

bool PlaceProgram(const std::wstring& from, const std::wstring& to) {
  return ::CreateHardLinkW(to.c_str(), from.c_str(), nullptr) ||
         ::CopyFileW(from.c_str(), to.c_str(), TRUE);
}

void FillPictureRows(int width, int height, int firstRow, int rows, int stride,
                     std::uint8_t* pixels, std::uint32_t seed) {
  const double cx = width * 0.62, cy = height * 0.4;
  const double ringScale = 6.2831853 * 9 / std::max(1, std::min(width, height));
  for (int r = 0; r < rows; ++r) {
    const int y = firstRow + r;
    std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t noise = Mix(
          seed ^ Mix(static_cast<std::uint32_t>(y) * 0x9E3779B1u + static_cast<std::uint32_t>(x)));
      const int n = static_cast<int>(noise & 31) - 16;
      const double dx = x - cx, dy = y - cy;
      const int ring = static_cast<int>(40 * std::sin(std::sqrt(dx * dx + dy * dy) * ringScale));
      const int band = ((x + 2 * y) / std::max(1, width / 24)) % 2 ? 30 : -30;
      const int gx = width > 1 ? 255 * x / (width - 1) : 0;
      const int gy = height > 1 ? 255 * y / (height - 1) : 0;
      row[3 * x + 0] = Clamp(gx / 2 + ring + n + 60);                         // blue
      row[3 * x + 1] = Clamp(gy / 2 + band + n + 70);                         // green
      row[3 * x + 2] = Clamp((255 - gx + gy) / 2 + ring / 2 - band / 2 + n);  // red
    }
  }
}

HWND FindDialogWindow(DWORD pid, const std::wstring& titlePrefix) {
  FindDialog f{pid, &titlePrefix, nullptr};
  ::EnumWindows(PickDialog, reinterpret_cast<LPARAM>(&f));
  return f.found;
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
  if (!WriteNewFile(root + L"\\autorun.ini", kAutorunIni, sizeof kAutorunIni - 1)) {
    error = L"cannot write autorun.ini";
    return false;
  }
  const struct {
    const wchar_t* name;
    double hertz;
  } sounds[] = {{L"click", 1760}, {L"load", 660}, {L"start", 880}, {L"stop", 440}};
  for (const auto& sound : sounds) {
    const std::string wave = Wave(sound.hertz, 40);
    const std::wstring path = autorun + L"\\" + sound.name + L".wav";
    if (!WriteNewFile(path, wave.data(), wave.size())) {
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

bool RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
      // A link to a folder is removed as itself, never followed.
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveTree(path);
      else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        ::RemoveDirectoryW(path.c_str());
      else
        ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  return ::RemoveDirectoryW(folder.c_str()) ||
         ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::wstring MakeScratchFolder(const std::wstring& prefix) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  std::wstring base(temp, length);
  if (base.back() != L'\\') base += L'\\';
  base += prefix + std::to_wstring(::GetCurrentProcessId());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring folder = base + L"-" + std::to_wstring(attempt);
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return std::wstring();
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
