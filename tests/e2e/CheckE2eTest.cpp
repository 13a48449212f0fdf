// The disc check, VarnoltCheck.exe, run under Wine on discs made to show
// each finding: its exit status, and the line that names the right file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../common/TestDiscFiles.h"
#include "../common/TestPictures.h"
#include "Harness.h"

namespace {

using namespace e2e;

const char kIni[] =
    "[main]\r\ndisk=Игры на слух\r\nlist=Игры\r\ndescription=Описание\r\ninstall=Установить\r\n"
    "close=Закрыть\r\nreadme=Справка\r\nhelp=Справка\r\nHelpButton=2\r\nScreenReader=0\r\n";

struct CheckRun {
  DWORD status = 0xFFFFFFFF;
  std::vector<std::wstring> lines;
  std::string bytes;
};

std::wstring FromUtf8(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
  return text;
}

// Runs `exe` with the arguments given, its output into a pipe, in a job that
// ends it if the test does not see it end.
CheckRun RunCheck(const std::wstring& exe, const std::wstring& arguments) {
  CheckRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  testsupport::Job job;
  testsupport::Process check;
  const bool started = check.Start(job.Get(), exe, arguments, CREATE_NO_WINDOW, writeEnd) == 0;
  ::CloseHandle(writeEnd);
  if (started) {
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
      run.bytes.append(buffer, got);
    if (check.WaitForExit(60000)) ::GetExitCodeProcess(check.Get(), &run.status);
  }
  ::CloseHandle(readEnd);
  const std::wstring text = FromUtf8(run.bytes);
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(L"\r\n", at);
    if (end == std::wstring::npos) end = text.size();
    run.lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return run;
}

CheckRun RunCheck(const Disc& disc) {
  return RunCheck(BuildFolder() + L"VarnoltCheck.exe", L"\"" + disc.Root() + L"\"");
}

std::string Printable(const CheckRun& run) {
  return "status " + std::to_string(run.status) + "\n" + run.bytes;
}

// The line that starts with `start`, or "".
std::wstring LineStarting(const CheckRun& run, const std::wstring& start) {
  for (const std::wstring& line : run.lines)
    if (line.compare(0, start.size(), start) == 0) return line;
  return std::wstring();
}

void AddGame(const Disc& disc, const std::wstring& name) {
  disc.AddFolder(L"games\\" + name);
  disc.AddFile(L"games\\" + name + L"\\descript.ion", "Game");
  disc.AddFile(L"games\\" + name + L"\\screenshot.jpg", testpictures::kRedJpeg);
  disc.AddFile(L"games\\" + name + L"\\setup.exe",
               testfiles::Program(true, testfiles::Manifest("asInvoker")));
}

// A disc on which a player meets nothing amiss: two games, every file in place.
void MakeGood(const Disc& disc, const std::string& ini = kIni) {
  disc.AddFile(L"autorun.ini", ini);
  disc.AddFile(L"autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\n");
  disc.AddFile(L"read.me.txt", "Read me");
  disc.AddFile(L"autorun\\descript.ion", "Disc");
  disc.AddFile(L"autorun\\screenshot.jpg", testpictures::kBlueJpeg);
  AddGame(disc, L"Racer 10");
  AddGame(disc, L"Racer 2");
}

void Delete(const Disc& disc, const std::wstring& relative) {
  ::DeleteFileW((disc.Root() + relative).c_str());
}

TEST(CheckE2eTest, AGoodDiscReportsNothingButWhatThePlayerWillHearAndTheSummary) {
  Disc disc(L"check-good", kIni, {});
  MakeGood(disc);
  const CheckRun run = RunCheck(disc);
  EXPECT_EQ(run.status, 0u) << Printable(run);
  ASSERT_GE(run.lines.size(), 3u) << Printable(run);
  EXPECT_EQ(run.lines.front(), L"Проверка диска: " + disc.Root());
  for (const std::wstring& line : run.lines)
    EXPECT_TRUE(line.compare(0, 10, L"Проблема: ") != 0 &&
                line.compare(0, 16, L"Ошибка запуска: ") != 0)
        << Printable(run);
  EXPECT_EQ(run.lines.back(), L"Итого: игр 2, ошибок запуска 0, проблем 0. Диск готов.");
  // The games in the order the player hears them.
  EXPECT_NE(LineStarting(run, L"Сведения: games\\Racer 2\\ — игра 1 в списке — «Racer 2»"), L"")
      << Printable(run);
  EXPECT_NE(LineStarting(run, L"Сведения: games\\Racer 10\\ — игра 2 в списке — «Racer 10»"), L"")
      << Printable(run);
  EXPECT_NE(LineStarting(run, L"Сведения: autorun.ini — прочитан в кодировке UTF-8."), L"");
}

struct Case {
  const char* what;
  std::function<void(const Disc&)> spoil;
  DWORD status;
  std::wstring line;      // how the finding's line starts: its kind and its file
  std::wstring contains;  // and what it says the player meets
};

TEST(CheckE2eTest, EachFindingNamesItsFile) {
  const auto ini = [](const std::string& from, const std::string& to) {
    return [from, to](const Disc& d) {
      std::string text = kIni;
      text.replace(text.find(from), from.size(), to);
      d.AddFile(L"autorun.ini", text);
    };
  };
  const std::wstring r2 = L"games\\Racer 2\\";
  const std::wstring longName = std::wstring(70, L'n') + L".dat";
  const Case cases[] = {
      {"no program", [](const Disc& d) { Delete(d, L"Varnolt.exe"); }, 2,
       L"Ошибка запуска: Varnolt.exe — ", L"запускать нечего"},
      {"no sound folder",
       [](const Disc& d) {
         for (const wchar_t* f : {L"click.wav", L"load.wav", L"start.wav", L"stop.wav",
                                  L"descript.ion", L"screenshot.jpg"})
           Delete(d, std::wstring(L"autorun\\") + f);
         ::RemoveDirectoryW((d.Root() + L"autorun").c_str());
       },
       2, L"Ошибка запуска: autorun\\ — ",
       L"«ERROR»: «Не могу загрузить PlaySound() winmm.dll / Программа будет закрыта.»"},
      {"no control file", [](const Disc& d) { Delete(d, L"autorun.ini"); }, 2,
       L"Ошибка запуска: autorun.ini — ", L"«Error»: «Отсутствует управляющий файл: / "},
      {"no game folder",
       [](const Disc& d) {
         d.AddFile(L"games\\readme.txt", "x");
         d.AddFolder(L"games\\Racer 2", FILE_ATTRIBUTE_HIDDEN);
         d.AddFolder(L"games\\Racer 10", FILE_ATTRIBUTE_HIDDEN);
       },
       2, L"Ошибка запуска: games\\ — ", L"нет игр.»"},
      {"missing key", ini("list=Игры\r\n", ""), 1, L"Проблема: autorun.ini — нет ключа list",
       L"«0» над списком игр"},
      {"misspelt key", ini("HelpButton=2", "HelpButton=2\r\nHelpbuton=2"), 1,
       L"Проблема: autorun.ini — ключ «Helpbuton» Varnolt не знает", L"HelpButton"},
      {"help button fraction", ini("HelpButton=2", "HelpButton=2.5"), 1,
       L"Проблема: autorun.ini — HelpButton = «2.5» читается как 2", L"работает"},
      {"screen reader word", ini("ScreenReader=0", "ScreenReader=да"), 1,
       L"Проблема: autorun.ini — ScreenReader = «да»", L"не будет запущен"},
      {"screen reader missing", ini("ScreenReader=0", "ScreenReader=1"), 1,
       L"Проблема: nvda\\nvda.exe — ", L"экранный диктор"},
      {"access key", ini("install=Установить", "install=Установить & играть"), 1,
       L"Проблема: autorun.ini — в подписи install", L"одиночный знак &"},
      {"control file in UTF-16",
       [](const Disc& d) {
         const std::wstring text = FromUtf8(kIni);
         std::string bytes = "\xFF\xFE";
         for (wchar_t c : text)
           bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
         d.AddFile(L"autorun.ini", bytes);
       },
       0, L"Сведения: autorun.ini — прочитан в кодировке UTF-16LE", L""},
      {"no read-me", [](const Disc& d) { Delete(d, L"read.me.txt"); }, 1,
       L"Проблема: read.me.txt — ", L"ни кнопка, ни F1"},
      {"sound missing", [](const Disc& d) { Delete(d, L"autorun\\load.wav"); }, 1,
       L"Проблема: autorun\\load.wav — звука нет", L"показ описания"},
      {"sound not a wave", [](const Disc& d) { d.AddFile(L"autorun\\stop.wav", "ID3 mp3"); }, 1,
       L"Проблема: autorun\\stop.wav — это не файл RIFF WAVE", L"закрытие Varnolt"},
      {"description cut",
       [&](const Disc& d) { d.AddFile(r2 + L"descript.ion", std::string((1 << 20) + 100, 'a')); },
       1, L"Проблема: " + r2 + L"descript.ion — файл длиннее 1048576 байт", L""},
      {"no description", [&](const Disc& d) { Delete(d, r2 + L"descript.ion"); }, 1,
       L"Проблема: " + r2 + L"descript.ion — описания нет", L"звук загрузки не прозвучит"},
      {"empty description", [&](const Disc& d) { d.AddFile(r2 + L"descript.ion", ""); }, 1,
       L"Проблема: " + r2 + L"descript.ion — описание пусто", L""},
      {"screenshot not a picture", [&](const Disc& d) { d.AddFile(r2 + L"screenshot.jpg", "GIF"); },
       1, L"Проблема: " + r2 + L"screenshot.jpg — это не картинка", L""},
      {"screenshot cut off",
       [&](const Disc& d) {
         d.AddFile(r2 + L"screenshot.jpg", testpictures::kRedJpeg.substr(0, 250));
       },
       1, L"Проблема: " + r2 + L"screenshot.jpg — JPEG обрезан", L""},
      {"screenshot too large",
       [&](const Disc& d) {
         d.AddFile(r2 + L"screenshot.jpg",
                   std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60", 24) +
                       std::string(64, '\0'));
       },
       1, L"Проблема: " + r2 + L"screenshot.jpg — картинка 60000x60000", L""},
      {"no installer", [&](const Disc& d) { Delete(d, r2 + L"setup.exe"); }, 1,
       L"Проблема: " + r2 + L" — в папке игры нет ни одного файла *.exe",
       L"«Error! 0»: «0 / Не установлена. Пожалуйста, сообщите об этом на: / support@varnolt.org "
       L"/ "},
      {"installer not a program", [&](const Disc& d) { d.AddFile(r2 + L"setup.exe", "MZ"); }, 1,
       L"Проблема: " + r2 + L"setup.exe — это не программа Windows", L"«Error! 0»"},
      {"installer asks for rights",
       [&](const Disc& d) {
         d.AddFile(r2 + L"setup.exe",
                   testfiles::Program(false, testfiles::Manifest("requireAdministrator")));
       },
       0, L"Сведения: " + r2 + L"setup.exe — просит права администратора", L"requireAdministrator"},
      {"installer taken for one by its name",
       [&](const Disc& d) { d.AddFile(r2 + L"setup.exe", testfiles::Program(false)); }, 0,
       L"Сведения: " + r2 + L"setup.exe — 32-битная программа", L"сочтёт её установщиком"},
      {"game named like the disc", [](const Disc& d) { AddGame(d, L"Игры на слух"); }, 1,
       L"Проблема: games\\Игры на слух\\ — игра ", L"установить игру нельзя"},
      {"hidden game", [](const Disc& d) { d.AddFolder(L"games\\Secret", FILE_ATTRIBUTE_HIDDEN); },
       1, L"Проблема: games\\Secret\\ — скрытая папка", L"нет в списке"},
      {"system screenshot",
       [&](const Disc& d) {
         ::SetFileAttributesW((d.Root() + r2 + L"screenshot.jpg").c_str(), FILE_ATTRIBUTE_SYSTEM);
       },
       1, L"Проблема: " + r2 + L"screenshot.jpg — системный файл", L""},
      {"name too long for the disc", [&](const Disc& d) { d.AddFile(r2 + longName, "x"); }, 1,
       L"Проблема: " + r2 + longName + L" — имя длиной 74 знаков", L"Joliet"},
      {"no autorun.inf", [](const Disc& d) { Delete(d, L"autorun.inf"); }, 1,
       L"Проблема: autorun.inf — файла нет", L""},
      {"autorun.inf starting another program",
       [](const Disc& d) { d.AddFile(L"autorun.inf", "[AutoRun]\r\nopen=menu.exe\r\n"); }, 1,
       L"Проблема: autorun.inf — open = «menu.exe» не запускает Varnolt.exe", L""},
  };
  for (const Case& c : cases) {
    Disc disc(L"check-finding", kIni, {});
    MakeGood(disc);
    c.spoil(disc);
    const CheckRun run = RunCheck(disc);
    EXPECT_EQ(run.status, c.status) << c.what << "\n" << Printable(run);
    const std::wstring line = LineStarting(run, c.line);
    EXPECT_NE(line, L"") << c.what << "\n" << Printable(run);
    EXPECT_NE(line.find(c.contains), std::wstring::npos) << c.what << "\n" << Printable(run);
  }
}

// Of several programs, the one the launch starts: the first the system lists.
TEST(CheckE2eTest, SeveralInstallersNameTheOneThatStarts) {
  Disc disc(L"check-several", kIni, {});
  MakeGood(disc);
  const std::wstring folder = disc.Root() + L"games\\Racer 2\\";
  disc.AddFile(L"games\\Racer 2\\dxwebsetup.exe", testfiles::Program(true));
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"*.exe").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  const std::wstring first = data.cFileName;
  ::FindClose(find);
  const CheckRun run = RunCheck(disc);
  EXPECT_EQ(run.status, 1u) << Printable(run);
  const std::wstring line = LineStarting(run, L"Проблема: games\\Racer 2\\" + first + L" — ");
  EXPECT_NE(line.find(L"2 программ"), std::wstring::npos) << Printable(run);
  EXPECT_NE(line.find(L"запускается первая найденная, " + first + L"."), std::wstring::npos)
      << Printable(run);
}

TEST(CheckE2eTest, FoldersItCannotCheck) {
  const std::wstring exe = BuildFolder() + L"VarnoltCheck.exe";
  const CheckRun missing = RunCheck(exe, L"\"C:\\no such folder\"");
  EXPECT_EQ(missing.status, 3u);
  EXPECT_EQ(missing.lines.front(), L"Папка не найдена: C:\\no such folder") << Printable(missing);
  const CheckRun file = RunCheck(exe, L"\"" + exe + L"\"");
  EXPECT_EQ(file.status, 3u);
  EXPECT_EQ(file.lines.front(), L"Это файл, а не папка: " + exe) << Printable(file);
  const CheckRun extra = RunCheck(exe, L"a b");
  EXPECT_EQ(extra.status, 3u) << Printable(extra);
}

TEST(CheckE2eTest, WithoutAFolderItChecksItsOwn) {
  Disc disc(L"check-own", kIni, {});
  MakeGood(disc);
  ::CopyFileW((BuildFolder() + L"VarnoltCheck.exe").c_str(),
              (disc.Root() + L"VarnoltCheck.exe").c_str(), FALSE);
  const CheckRun run = RunCheck(disc.Root() + L"VarnoltCheck.exe", L"");
  EXPECT_EQ(run.status, 0u) << Printable(run);
  ASSERT_FALSE(run.lines.empty());
  EXPECT_EQ(run.lines.front(), L"Проверка диска: " + disc.Root());
}

// Files of 2 GB, a tree deeper than the check walks and a folder that leads
// back up: checked to the end, the large files read only in part.
TEST(CheckE2eTest, AHostileDiscIsCheckedToTheEnd) {
  Disc disc(L"check-hostile", kIni, {});
  MakeGood(disc);
  const auto huge = [&](const std::wstring& relative, const std::string& head) {
    disc.AddFile(relative, head);
    HANDLE file = ::CreateFileW((disc.Root() + relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 2LL << 30;
    ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file);
    ::CloseHandle(file);
  };
  huge(L"games\\Racer 2\\descript.ion", "Game");
  huge(L"games\\Racer 2\\screenshot.jpg", testpictures::kRedJpeg.substr(0, 200));
  huge(L"games\\Racer 2\\setup.exe", testfiles::Program(false));
  huge(L"autorun\\click.wav", testfiles::Wave());
  std::wstring deep = L"games\\Racer 10\\d";
  for (int level = 0; level < 60; ++level, deep += L"\\d") disc.AddFolder(deep);
  // Wine 8 answers TRUE to CreateSymbolicLinkW and makes nothing: the loop is
  // looked for only where the link is really there.
  ::CreateSymbolicLinkW((disc.Root() + L"games\\Racer 10\\up").c_str(), disc.Root().c_str(),
                        SYMBOLIC_LINK_FLAG_DIRECTORY);
  const bool linked = ::GetFileAttributesW((disc.Root() + L"games\\Racer 10\\up").c_str()) !=
                      INVALID_FILE_ATTRIBUTES;

  const CheckRun run = RunCheck(disc);
  EXPECT_EQ(run.status, 1u) << Printable(run);
  EXPECT_NE(LineStarting(run, L"Проблема: games\\Racer 2\\descript.ion — файл длиннее"), L"")
      << Printable(run);
  EXPECT_NE(LineStarting(run, L"Проблема: games\\Racer 2\\screenshot.jpg — JPEG обрезан"), L"")
      << Printable(run);
  EXPECT_NE(LineStarting(run, L"Сведения: games\\Racer 10\\d\\"), L"") << Printable(run);
  if (linked) {
    EXPECT_NE(LineStarting(run, L"Сведения: games\\Racer 10\\up\\ — ссылка"), L"")
        << Printable(run);
  }
  EXPECT_EQ(run.lines.back().compare(0, 7, L"Итого: "), 0) << Printable(run);
  ::RemoveDirectoryW((disc.Root() + L"games\\Racer 10\\up").c_str());
}

}  // namespace

namespace {

// A console of its own, as when started from Explorer: the report is written
// into it as text the console shows (Cyrillic whatever its code page), and
// the program waits for a key before the console closes.
TEST(CheckE2eTest, InAConsoleOfItsOwnItWaitsForAKey) {
  Disc disc(L"check-console", kIni, {});
  MakeGood(disc);
  testsupport::Job job;
  testsupport::Process process;
  ASSERT_EQ(process.Start(job.Get(), BuildFolder() + L"VarnoltCheck.exe",
                          L"\"" + disc.Root() + L"\"", CREATE_NEW_CONSOLE),
            0u);

  // Still there once its report is written: it waits.
  EXPECT_FALSE(process.WaitForExit(3000));

  // What its console shows, read from the console's screen.
  ::FreeConsole();
  std::wstring screen;
  if (::AttachConsole(process.Id())) {
    HANDLE out =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (::GetConsoleScreenBufferInfo(out, &info)) {
      const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
      screen.resize(cells);
      DWORD read = 0;
      ::ReadConsoleOutputCharacterW(out, &screen[0], cells, COORD{0, 0}, &read);
      screen.resize(read);
    }
    ::CloseHandle(out);
    // A key pressed in that console.
    HANDLE in =
        ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    INPUT_RECORD key[2] = {};
    for (int i = 0; i < 2; ++i) {
      key[i].EventType = KEY_EVENT;
      key[i].Event.KeyEvent.bKeyDown = i == 0;
      key[i].Event.KeyEvent.wRepeatCount = 1;
      key[i].Event.KeyEvent.wVirtualKeyCode = VK_SPACE;
      key[i].Event.KeyEvent.uChar.UnicodeChar = L' ';
    }
    DWORD written = 0;
    ::WriteConsoleInputW(in, key, 2, &written);
    ::CloseHandle(in);
    ::FreeConsole();
  }
  // Back to the console the driver was started in, where there is one.
  ::AttachConsole(ATTACH_PARENT_PROCESS);
  EXPECT_NE(screen.find(L"Проверка диска: " + disc.Root()), std::wstring::npos)
      << "no report on screen";
  EXPECT_NE(screen.find(L"Итого: игр 2, ошибок запуска 0, проблем 0. Диск готов."),
            std::wstring::npos);
  EXPECT_NE(screen.find(L"Нажмите любую клавишу, чтобы закрыть окно."), std::wstring::npos);

  // The key ends it, with the disc's status.
  EXPECT_TRUE(process.WaitForExit(10000));
  DWORD status = 0xFFFFFFFF;
  ::GetExitCodeProcess(process.Get(), &status);
  EXPECT_EQ(status, 0u);
}

}  // namespace
