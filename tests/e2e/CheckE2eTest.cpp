// The disc check, VarnoltCheck.exe, run under Wine on real folders: its exit
// status and its report, in UTF-8 when redirected and as text in a console of
// its own; folders it cannot check; a disc made to hang or crash it. What each
// finding says is held by the unit tests.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

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
  std::string bytes;
  // Where the report holds `text` in UTF-8.
  std::size_t Find(const std::wstring& text) const { return bytes.find(ToUtf8(text)); }
};

// Runs `exe` with `arguments`, its output into a pipe.
CheckRun RunCheck(const std::wstring& exe, const std::wstring& arguments) {
  CheckRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  const testsupport::Handle reader(readEnd);
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  testsupport::Job job;
  testsupport::Process check;
  const bool started = check.Start(job.Get(), exe, arguments, CREATE_NO_WINDOW, writeEnd) == 0;
  ::CloseHandle(writeEnd);
  char buffer[65536];
  DWORD got = 0;
  while (started && ::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
    run.bytes.append(buffer, got);
  if (started && check.WaitForExit(60000)) ::GetExitCodeProcess(check.Get(), &run.status);
  return run;
}

// A disc on which a player meets nothing amiss: two games, every file in place.
struct GoodDisc : Disc {
  explicit GoodDisc(const std::wstring& name) : Disc(name, kIni, {L"Racer 10", L"Racer 2"}) {
    AddFile(L"autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\n");
    AddFile(L"read.me.txt", "Read me");
    AddFile(L"autorun\\descript.ion", "Disc");
    AddFile(L"autorun\\screenshot.jpg", testpictures::kBlueJpeg);
    for (const std::wstring game : {L"games\\Racer 10\\", L"games\\Racer 2\\"}) {
      AddFile(game + L"descript.ion", "Game");
      AddFile(game + L"screenshot.jpg", testpictures::kRedJpeg);
      AddFile(game + L"setup.exe", testfiles::Program(true, testfiles::Manifest("asInvoker")));
    }
  }
};

// The check of a disc given by its path, of its own folder (no argument), of
// no folder, of a file, and with too many arguments: its status and report.
TEST(CheckE2eTest, StatusAndReport) {
  GoodDisc disc(L"check");
  const std::wstring exe = BuildFolder() + L"VarnoltCheck.exe", root = disc.Root();
  ::CopyFileW(exe.c_str(), (root + L"VarnoltCheck.exe").c_str(), FALSE);
  const std::wstring good = L"Итого: игр 2, ошибок запуска 0, проблем 0. Диск готов.\r\n";
  const std::wstring unchecked = L"Итого: диск не проверен.\r\n";
  const struct {
    std::wstring exe, arguments;
    DWORD status;
    std::wstring first, line;  // the report's first line, and a later one
  } cases[] = {
      {exe, L"\"" + root + L"\"", 0, L"Проверка диска: " + root, good},
      {root + L"VarnoltCheck.exe", L"", 0, L"Проверка диска: " + root, good},
      {exe, L"\"C:\\no such folder\"", 3, L"Папка не найдена: C:\\no such folder", unchecked},
      {exe, L"\"" + exe + L"\"", 3, L"Это файл, а не папка: " + exe, unchecked},
      {exe, L"a b", 3, L"Проверка диска для Varnolt: VarnoltCheck.exe [ПАПКА]",
       L"Код выхода: 0 диск готов"},
  };
  for (const auto& c : cases) {
    const CheckRun run = RunCheck(c.exe, c.arguments);
    EXPECT_EQ(run.status, c.status) << run.bytes;
    EXPECT_EQ(run.Find(c.first + L"\r\n"), 0u) << run.bytes;
    EXPECT_NE(run.Find(L"\r\n" + c.line), std::string::npos) << run.bytes;
  }
}

// Files of 2 GB where the check reads (sparse: only their heads written) and
// a tree deeper than it walks: checked to the end, the files read in part.
// Hidden and system entries where the program looks are told apart as the
// real file system marks them.
TEST(CheckE2eTest, AHostileDiscIsCheckedToTheEnd) {
  GoodDisc disc(L"check-hostile");
  const std::pair<std::wstring, std::string> files[] = {
      {L"games\\Racer 2\\descript.ion", "Game"},
      {L"games\\Racer 2\\screenshot.jpg", testpictures::kRedJpeg.substr(0, 200)},
      {L"games\\Racer 2\\setup.exe", testfiles::Program(false)},
      {L"autorun\\click.wav", testfiles::Wave()},
  };
  for (const auto& [name, head] : files) {
    disc.AddFile(name, head);
    const testsupport::Handle file(::CreateFileW((disc.Root() + name).c_str(), GENERIC_WRITE, 0,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    size.QuadPart = 2LL << 30;
    ::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.Get());
  }
  std::wstring deep = L"games\\Racer 10\\d";
  for (int level = 0; level < 60; ++level, deep += L"\\d") disc.AddFolder(deep);
  disc.AddFolder(L"games\\Secret", FILE_ATTRIBUTE_HIDDEN);
  disc.AddFile(L"games\\Racer 10\\descript.ion", "Game", FILE_ATTRIBUTE_SYSTEM);
  const CheckRun run = RunCheck(BuildFolder() + L"VarnoltCheck.exe", L"\"" + disc.Root() + L"\"");
  EXPECT_EQ(run.status, 1u) << run.bytes;
  for (const wchar_t* line :
       {L"Проблема: games\\Racer 2\\descript.ion — файл длиннее",
        L"Проблема: games\\Racer 2\\screenshot.jpg — JPEG обрезан",
        L"Сведения: games\\Racer 10\\d\\", L"Проблема: games\\Secret\\ — скрытая папка",
        L"Проблема: games\\Racer 10\\descript.ion — системный файл", L"Итого: "})
    EXPECT_NE(run.Find(L"\r\n" + std::wstring(line)), std::string::npos) << run.bytes;
}

// A console of its own, as when started from Explorer: the report is written
// into it as text (Cyrillic whatever the console's code page), and the
// program waits for a key before the console closes.
TEST(CheckE2eTest, InAConsoleOfItsOwnItWaitsForAKey) {
  GoodDisc disc(L"check-console");
  testsupport::Job job;
  testsupport::Process check;
  ASSERT_EQ(check.Start(job.Get(), BuildFolder() + L"VarnoltCheck.exe", L"\"" + disc.Root() + L"\"",
                        CREATE_NEW_CONSOLE),
            0u);
  EXPECT_FALSE(check.WaitForExit(3000)) << "it waits";

  // Its console's screen read, and a key pressed in it.
  std::wstring screen;
  ::FreeConsole();
  if (::AttachConsole(check.Id())) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE, access = GENERIC_READ | GENERIC_WRITE;
    const testsupport::Handle out(
        ::CreateFileW(L"CONOUT$", access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    const testsupport::Handle in(
        ::CreateFileW(L"CONIN$", access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    ::GetConsoleScreenBufferInfo(out.Get(), &info);
    screen.resize(static_cast<std::size_t>(info.dwSize.X) *
                  static_cast<std::size_t>(info.dwSize.Y));
    DWORD count = 0;
    ::ReadConsoleOutputCharacterW(out.Get(), &screen[0], static_cast<DWORD>(screen.size()),
                                  COORD{0, 0}, &count);
    INPUT_RECORD key = {KEY_EVENT, {}};
    key.Event.KeyEvent = {TRUE, 1, VK_SPACE, 0, {L' '}, 0};
    ::WriteConsoleInputW(in.Get(), &key, 1, &count);
  }
  ::FreeConsole();
  ::AttachConsole(ATTACH_PARENT_PROCESS);  // the driver's own, where there is one
  for (const std::wstring& line :
       {L"Проверка диска: " + disc.Root(), std::wstring(L"Итого: игр 2, ошибок запуска 0"),
        std::wstring(L"Нажмите любую клавишу, чтобы закрыть окно.")})
    EXPECT_NE(screen.find(line), std::wstring::npos) << ToUtf8(line);
  EXPECT_TRUE(check.WaitForExit(10000)) << "it ends on the key";
}

}  // namespace
