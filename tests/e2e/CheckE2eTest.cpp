// The disc check, VarnoltCheck.exe, run under Wine on real folders: its exit
// status and its report, in the console's code page into a pipe (so that
// `| find` finds its lines), UTF-8 with a byte-order mark into a file, and as
// text in a console of its own; folders it cannot check; a disc made to hang
// or crash it. What each finding says is held by the unit tests.
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
    "close=Закрыть\r\nreadme=Справка\r\nhelp=Справка\r\nHelpButton=2\r\nScreenReader=0\r\n"
    "support=igry@mail.ru\r\n";

// Text as a program writes it in the code page `codePage`.
std::string InCodePage(const std::wstring& text, UINT codePage) {
  const int length = static_cast<int>(text.size());
  const int bytes =
      ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    ::WideCharToMultiByte(codePage, 0, text.data(), length, &out[0], bytes, nullptr, nullptr);
  return out;
}

// A folder quoted for a command line, without its closing backslash (which
// would escape the quote).
std::wstring QuotedFolder(const std::wstring& folder) {
  return L"\"" + folder.substr(0, folder.size() - (folder.ends_with(L'\\') ? 1 : 0)) + L"\"";
}

struct CheckRun {
  DWORD status = 0xFFFFFFFF;
  std::string bytes;
  // Where the report holds `text`, in the code page of a console a program
  // started without a window gets: the OEM one (866 on a Russian system).
  std::size_t Find(const std::wstring& text) const {
    return bytes.find(InCodePage(text, CP_OEMCP));
  }
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
    AddFile(L"autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\nicon=Varnolt.exe\r\n");
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
  const std::wstring good = L"Итого: 2 игры, 0 ошибок запуска, 0 проблем. Диск готов.\r\n";
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
      {exe, L"a b", 3, L"Проверка диска для Varnolt: VarnoltCheck.exe [ПАПКА] [/p] [/t]",
       L"Код выхода: 0 — диск готов, 1 — игрок встретит проблемы"},
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
       {L"Проблема: games\\Racer 2\\descript.ion: файл больше 1 МБ",
        L"Проблема: games\\Racer 2\\screenshot.jpg: картинка обрезана",
        L"Сведения: games\\Racer 10\\d\\", L"Проблема: games\\Secret\\: папка скрытая",
        L"Проблема: games\\Racer 10\\descript.ion: файл скрытый или системный", L"Итого: "})
    EXPECT_NE(run.Find(L"\r\n" + std::wstring(line)), std::string::npos) << run.bytes;
}

// Filtered by the console's own programs, as an author hears only the
// problems: through a pipe the report is in the console's code page, which
// the OEM one (above) and the ANSI one here show, so `find` in the same
// console finds a Cyrillic problem line, and nothing else. (Wine's cmd makes
// `|` a temporary file and its find reads text as ANSI: the pipe is made
// here, and the console's code page set to the one Wine's find reads.) /p
// gives the problems without filtering.
TEST(CheckE2eTest, APipeCarriesTheConsolesCodePage) {
  GoodDisc disc(L"check-pipe");
  // A description saved by a DOS editor (code page 866).
  disc.AddFile(
      L"games\\Racer 2\\descript.ion",
      "\x83\xae\xad\xaa\xa8 \xaf\xae \xad\xae\xe7\xad\xae\xac\xe3 \xa3\xae\xe0\xae\xa4\xe3 "
      "\xe1\xae \xa2\xe1\xa5\xac\xa8 \xe1\xae\xaf\xa5\xe0\xad\xa8\xaa\xa0\xac\xa8.");
  disc.AddFile(L"autorun.ini", std::string(kIni) + "Helpbuton=2\r\n");
  const std::wstring exe = BuildFolder() + L"VarnoltCheck.exe";
  const std::wstring problem =
      L"Проблема: games\\Racer 2\\descript.ion: текст в кодировке DOS (866)";

  ::FreeConsole();
  ASSERT_TRUE(::AllocConsole());
  EXPECT_TRUE(::SetConsoleOutputCP(::GetACP()) && ::SetConsoleCP(::GetACP()));
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE reportRead = nullptr, reportWrite = nullptr, foundRead = nullptr, foundWrite = nullptr;
  ASSERT_TRUE(::CreatePipe(&reportRead, &reportWrite, &inherit, 0) &&
              ::CreatePipe(&foundRead, &foundWrite, &inherit, 0));
  const testsupport::Handle reader(foundRead);
  ::SetHandleInformation(foundRead, HANDLE_FLAG_INHERIT, 0);
  testsupport::Job job;
  testsupport::Process check, find;
  EXPECT_EQ(check.Start(job.Get(), exe, QuotedFolder(disc.Root()), 0, reportWrite), 0u);
  ::CloseHandle(reportWrite);
  EXPECT_EQ(find.Start(job.Get(), L"C:\\windows\\system32\\find.exe", L"\"Проблема\"", 0,
                       foundWrite, reportRead),
            0u);
  ::CloseHandle(reportRead);
  ::CloseHandle(foundWrite);
  std::string found;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(foundRead, buffer, sizeof buffer, &got, nullptr) && got > 0)
    found.append(buffer, got);
  EXPECT_TRUE(check.WaitForExit(60000) && find.WaitForExit(60000));
  ::FreeConsole();
  ::AttachConsole(ATTACH_PARENT_PROCESS);  // the driver's own, where there is one
  EXPECT_NE(found.find(InCodePage(problem, ::GetACP())), std::string::npos) << found;
  EXPECT_EQ(found.find(InCodePage(L"Сведения", ::GetACP())), std::string::npos) << found;

  // The OEM code page lacks « »: plain quotes stand for them, not < >.
  const CheckRun problems = RunCheck(exe, QuotedFolder(disc.Root()) + L" /p");
  EXPECT_EQ(problems.status, 1u);
  EXPECT_NE(problems.Find(L"\r\nПроблема: autorun.ini, строка 12: ключа \"Helpbuton\" Varnolt"),
            std::string::npos)
      << problems.bytes;
  EXPECT_NE(problems.Find(L"\r\n" + problem), std::string::npos) << problems.bytes;
  EXPECT_EQ(problems.Find(L"Сведения"), std::string::npos) << problems.bytes;
}

// Redirected to a file, the report is UTF-8 with a byte-order mark.
TEST(CheckE2eTest, AFileGetsUtf8WithItsMark) {
  GoodDisc disc(L"check-file");
  const std::wstring report = disc.Root() + L"отчёт.txt";
  const std::wstring command = L"/c \"\"" + BuildFolder() + L"VarnoltCheck.exe\" " +
                               QuotedFolder(disc.Root()) + L" > \"" + report + L"\"\"";
  RunCheck(L"C:\\windows\\system32\\cmd.exe", command);
  std::string bytes;
  const testsupport::Handle file(::CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, 0, nullptr));
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  EXPECT_EQ(bytes.find("\xEF\xBB\xBF" + ToUtf8(L"Проверка диска: " + disc.Root() + L"\r\n")), 0u)
      << bytes;
  EXPECT_NE(bytes.find(ToUtf8(L"\r\nИтого: 2 игры")), std::string::npos) << bytes;
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
       {L"Проверка диска: " + disc.Root(), std::wstring(L"Итого: 2 игры, 0 ошибок запуска"),
        std::wstring(L"Нажмите любую клавишу, чтобы закрыть окно.")})
    EXPECT_NE(screen.find(line), std::wstring::npos) << ToUtf8(line);
  EXPECT_TRUE(check.WaitForExit(10000)) << "it ends on the key";
}

}  // namespace
