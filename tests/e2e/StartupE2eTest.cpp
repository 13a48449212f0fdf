// Varnolt.exe started on disc folders under Wine and checked from outside:
// the start-up messages, the filled window and its layout, the read-me
// button, the screen reader, names outside the ANSI code page, closing.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"

namespace {

using namespace e2e;

std::string Ini(const std::wstring& body) { return ToCp1251(L"[main]\r\n" + body); }

const std::wstring kFullIni =
    L"disk=Звуковые игры\r\nlist=Список игр\r\ndescription=Описание игры\r\ninstall=Установить\r\n"
    L"close=Выход\r\nreadme=Справка\r\nScreenReader=0\r\nhelp=О диске\r\nHelpButton=2\r\n";

MainControls View(HWND main) {
  const MainControls v = FindMainControls(main);
  EXPECT_TRUE(v.Complete()) << "the main window lacks a control";
  return v;
}

bool Visible(HWND hwnd) { return (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT ClientRectOf(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

struct MessageCase {
  const char* what;
  std::wstring title;
  void (*prepare)(const Disc&);
  std::wstring (*text)(const std::wstring& root);
};

void AddControlFileAndAGame(const Disc& d) {
  d.AddFile(L"autorun.ini", Ini(kFullIni));
  d.AddFolder(L"games");
  d.AddFolder(L"games\\G");
}

std::wstring SoundFolderText(const std::wstring&) {
  return L"Не могу загрузить PlaySound() winmm.dll\r\nПрограмма будет закрыта.";
}

// Which check fails how is the unit tests' (StartupTest); here a message of
// each title, shown by the system over the window.
TEST(StartupMessages, AFailedCheckShowsItsMessageOverTheWindowThenTheProgramEnds) {
  const MessageCase cases[] = {
      {"no sound folder", L"ERROR", [](const Disc& d) { AddControlFileAndAGame(d); },
       SoundFolderText},
      {"no control file", L"Error",
       [](const Disc& d) {
         d.AddSounds();
         d.AddFolder(L"games");
         d.AddFolder(L"games\\G");
       },
       [](const std::wstring& root) {
         return L"Отсутствует управляющий файл:\r\n" + root +
                L"autorun.ini\r\nПрограмма будет закрыта.";
       }},
  };
  for (const MessageCase& c : cases) {
    SCOPED_TRACE(c.what);
    Disc disc(L"messages");
    c.prepare(disc);
    Program program(disc);
    ASSERT_TRUE(program.Started());
    const HWND box = program.WaitForWindow(L"#32770", c.title);
    ASSERT_NE(box, nullptr) << "no message box titled " << ToUtf8(c.title);
    EXPECT_EQ(ToUtf8(MessageBoxText(box)), ToUtf8(c.text(disc.Root())));
    EXPECT_TRUE(HasIcon(box));
    const HWND main = program.MainWindow(0);
    ASSERT_NE(main, nullptr) << "the main window is there behind the message";
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(::GetWindow(box, GW_OWNER), main) << "the message is modal to the main window";
    EXPECT_TRUE(ListItems(View(main).lsGame).empty());
    PressOk(box);
    EXPECT_TRUE(program.WaitForExit()) << "the program ends after the message";
  }
}

// The order Explorer shows, with the names that tell a plain code-unit or
// letter-only order from it: punctuation, accents, Ё, numbers.
TEST(MainWindow, GamesAreListedInExplorersOrder) {
  Disc disc(L"order", Ini(kFullIni),
            {L"Жук", L"Game 10", L"ёж", L"Zeta", L"_Test", L"Ёлка", L"Alpha", L"~Old", L"Арканоид",
             L"Éclair", L"[Demo]", L"Ель", L"Game 2"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const std::vector<std::wstring> expected = {
      L"Звуковые игры", L"[Demo]", L"_Test",    L"~Old", L"Alpha", L"Éclair", L"Game 2",
      L"Game 10",       L"Zeta",   L"Арканоид", L"Ель",  L"ёж",    L"Ёлка",   L"Жук"};
  const std::vector<std::wstring> listed = ListItems(View(main).lsGame);
  std::string shown;
  for (const std::wstring& item : listed) shown += ToUtf8(item) + "; ";
  EXPECT_TRUE(listed == expected) << shown;
}

TEST(MainWindow, ListCaptionsAndLayoutOfANormalDisc) {
  Disc disc(L"normal", Ini(kFullIni), {L"Game 10", L"Game 2", L"Игра", L"Alpha"});
  disc.AddFolder(L"games\\Secret", FILE_ATTRIBUTE_HIDDEN);
  disc.AddFolder(L"games\\Sys", FILE_ATTRIBUTE_SYSTEM);
  disc.AddFile(L"games\\loose.exe", "MZ");
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls v = View(main);
  ASSERT_TRUE(v.Complete());

  EXPECT_EQ(ToUtf8(ListItems(v.lsGame).empty() ? L"" : ListItems(v.lsGame)[0]),
            ToUtf8(L"Звуковые игры"));
  const std::vector<std::wstring> expected = {L"Звуковые игры", L"Alpha", L"Game 2", L"Game 10",
                                              L"Игра"};
  EXPECT_TRUE(ListItems(v.lsGame) == expected) << "disc entry, then the games in Explorer's order";
  EXPECT_EQ(::SendMessageW(v.lsGame, LB_GETCURSEL, 0, 0), LB_ERR) << "nothing selected at first";

  // Each label comes right before the control it names, in the order of Tab.
  const std::vector<HWND> tabOrder = {v.lbGame,    v.lsGame,  v.lbDescript, v.edDescript,
                                      v.btInstall, v.btClose, v.btReadMe};
  const std::vector<HWND> children = ChildrenOf(main);
  EXPECT_TRUE(std::equal(tabOrder.begin(), tabOrder.end(), children.begin()));
  EXPECT_EQ(ToUtf8(TextOf(v.lbGame)), ToUtf8(L"Список игр"));
  EXPECT_EQ(ToUtf8(TextOf(v.lbDescript)), ToUtf8(L"Описание игры"));
  EXPECT_EQ(ToUtf8(TextOf(v.btInstall)), ToUtf8(L"Установить"));
  EXPECT_EQ(ToUtf8(TextOf(v.btClose)), ToUtf8(L"Выход"));
  EXPECT_EQ(ToUtf8(TextOf(v.btReadMe)), ToUtf8(L"Справка"));
  EXPECT_EQ(ToUtf8(TextOf(v.img)), ToUtf8(L"Скриншот игры")) << "the picture's spoken name";

  EXPECT_EQ(ClassOf(v.lsGame), L"ListBox");
  EXPECT_EQ(ClassOf(v.edDescript), L"Edit");
  EXPECT_EQ(ClassOf(v.drGame), L"ListBox");
  const LONG editStyle = ::GetWindowLongW(v.edDescript, GWL_STYLE);
  EXPECT_TRUE((editStyle & ES_MULTILINE) && (editStyle & ES_READONLY));
  EXPECT_FALSE(editStyle & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_FALSE(::GetWindowLongW(v.lsGame, GWL_STYLE) & LBS_SORT);
  EXPECT_FALSE(Visible(v.drGame)) << "the folder list is never shown";
  EXPECT_TRUE(Visible(v.btReadMe) && ::IsWindowEnabled(v.btReadMe)) << "HelpButton=2";
  EXPECT_EQ(FocusOf(main), v.lsGame) << "the focus starts on the list";

  // Enter presses the launch button, Esc the close button.
  EXPECT_EQ(LOWORD(::SendMessageW(main, DM_GETDEFID, 0, 0)), IDOK);
  EXPECT_EQ(::GetDlgCtrlID(v.btInstall), IDOK);
  EXPECT_EQ(::GetWindowLongW(v.btInstall, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(::GetDlgCtrlID(v.btClose), IDCANCEL);
  for (HWND focusable : {v.lsGame, v.edDescript, v.btInstall, v.btClose, v.btReadMe})
    EXPECT_TRUE(::GetWindowLongW(focusable, GWL_STYLE) & WS_TABSTOP);

  // The layout in pixels at 96 DPI: 15 twips a pixel.
  const LONG style = ::GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME) << "sizable";
  RECT client;
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, 620);
  EXPECT_EQ(client.bottom, 480);
  struct Expected {
    HWND control;
    LONG left, top, width, height;
  };
  const Expected rects[] = {
      {v.btReadMe, 420, 310, 180, 25},  {v.btClose, 220, 310, 180, 25},
      {v.btInstall, 20, 310, 180, 25},  {v.edDescript, 10, 360, 600, 100},
      {v.lsGame, 415, 20, 200, 288},    {v.img, 5, 0, 400, 300},
      {v.lbDescript, 10, 340, 600, 20}, {v.lbGame, 415, 0, 200, 20},
      {v.drGame, 0, 91, 81, 21},
  };
  for (const Expected& e : rects) {
    const RECT r = ClientRectOf(e.control);
    EXPECT_EQ(r.left, e.left) << ToUtf8(ClassOf(e.control));
    EXPECT_EQ(r.top, e.top);
    EXPECT_EQ(r.right - r.left, e.width);
    EXPECT_EQ(r.bottom - r.top, e.height);
  }
  RECT window, work;
  ::GetWindowRect(main, &window);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1) << "centred";
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST(MainWindow, EmptyMainSectionShowsZeroEverywhere) {
  Disc disc(L"empty main", Ini(L""), {L"Game"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls v = View(main);
  EXPECT_TRUE(ListItems(v.lsGame) == (std::vector<std::wstring>{L"0", L"Game"}));
  for (HWND captioned : {v.lbGame, v.lbDescript, v.btInstall, v.btClose, v.btReadMe})
    EXPECT_EQ(ToUtf8(TextOf(captioned)), "0");
  EXPECT_FALSE(Visible(v.btReadMe));
  EXPECT_FALSE(::IsWindowEnabled(v.btReadMe));
  EXPECT_EQ(program.ProcessesInJob(), 1) << "no screen reader started";
}

// A hidden top-level window of the driver's own, as a screen reader has.
class HiddenWindow {
 public:
  explicit HiddenWindow(const wchar_t* title)
      : hwnd_(::CreateWindowExW(0, L"STATIC", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr)) {}
  ~HiddenWindow() { ::DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(ScreenReader, StartedMinimisedOnlyWhenNoWindowIsTitledExactlyNvdaOrJaws) {
  struct Case {
    const wchar_t* title;
    bool started;
  };
  // The title rules are the unit tests' (WindowScanTest); here the system's
  // windows are asked, letter case counting.
  const Case cases[] = {{L"NVDA", false}, {L"nvda", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.title));
    HiddenWindow other(c.title);
    ASSERT_NE(other.Get(), nullptr);
    ASSERT_FALSE(::IsWindowVisible(other.Get()));
    Disc disc(L"reader", Ini(L"disk=D\r\nScreenReader=1\r\n"), {L"G"});
    disc.AddFolder(L"nvda");
    disc.AddRecorder(L"nvda\\nvda.exe");
    Program program(disc);
    ASSERT_NE(program.WaitUntilIdle(), nullptr);
    if (!c.started) {
      EXPECT_EQ(program.ProcessesInJob(), 1) << "nothing was started";
      continue;
    }
    std::string record;
    for (int i = 0; i < 200 && record.empty(); ++i, ::Sleep(50))
      record = disc.Recorded(L"nvda\\nvda.exe");
    EXPECT_NE(record.find("showwindow=2\n"), std::string::npos) << record;
    EXPECT_NE(record.find("self=" + ToUtf8(disc.Root()) + "nvda\\nvda.exe"), std::string::npos)
        << record;
  }
}

TEST(ScreenReader, MissingProgramChangesNothing) {
  Disc disc(L"no reader", Ini(L"disk=D\r\nScreenReader=true\r\n"), {L"G"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ListItems(View(main).lsGame).size(), 2u);
  EXPECT_EQ(program.ProcessesInJob(), 1);
}

TEST(Names, DiscAndGamesOutsideTheAnsiCodePage) {
  Disc disc(L"Диск ΩΨ 漢字", Ini(kFullIni), {L"Game ΩΨ", L"Игра 漢字"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr) << "no main window (or a start-up message instead)";
  const std::vector<std::wstring> expected = {L"Звуковые игры", L"Game ΩΨ", L"Игра 漢字"};
  EXPECT_TRUE(ListItems(View(main).lsGame) == expected);
}

}  // namespace
