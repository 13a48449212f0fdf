// Choosing games and starting them in the real program under Wine, as a user
// would with the keyboard: descriptions, pictures on screen, the launch
// button, what gets started and the failure message.
#include <gtest/gtest.h>

#include <algorithm>

#include "../common/TestPictures.h"
#include "Harness.h"

namespace {

using namespace e2e;

struct Window {
  HWND main, lsGame, edDescript, btInstall, img;
};

Window ViewOf(HWND main) {
  const MainControls c = FindMainControls(main);
  return {main, c.lsGame, c.edDescript, c.btInstall, c.img};
}

// Posts a key to the list and waits until the program has handled it and
// painted what followed.
void PressKey(const Window& w, UINT key) {
  ::PostMessageW(w.lsGame, WM_KEYDOWN, key, 1);
  ::PostMessageW(w.lsGame, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  DWORD_PTR result = 0;
  for (int i = 0; i < 3; ++i)
    ::SendMessageTimeoutW(w.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
  ::Sleep(50);  // the X server shows what was drawn
}

// The colour on screen at the middle of the picture control.
Colour PictureColour(const Window& w) {
  RECT r;
  ::GetWindowRect(w.img, &r);
  return ColourOnScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::string Recorded(const Disc& disc, const std::wstring& program) {
  std::string record;
  for (int i = 0; i < 200 && record.empty(); ++i, ::Sleep(50)) record = disc.Recorded(program);
  return record;
}

class GameDetails : public ::testing::Test {
 protected:
  void SetUp() override {
    disc_ = std::make_unique<Disc>(
        L"details", ToCp1251(L"[main]\r\ndisk=Диск\r\ninstall=Установить\r\nScreenReader=0\r\n"),
        std::vector<std::wstring>{L"Alpha", L"Beta", L"Gamma", L"Диск", L"My Game",
                                  L"Игра 漢字 Ω"});
    Disc& d = *disc_;
    d.AddFile(L"autorun\\descript.ion", ToCp1251(L"Описание диска\r\n"));
    d.AddFile(L"autorun\\screenshot.jpg", testpictures::kRedJpeg);
    d.AddFile(L"games\\Alpha\\descript.ion",
              "\xEF\xBB\xBF" + ToUtf8(L"Альфа: ΩΨ\r\nвторая строка"));
    d.AddFile(L"games\\Alpha\\screenshot.jpg", testpictures::kBlueJpeg);
    d.AddRecorder(L"games\\Alpha\\setup.exe");
    d.AddFile(L"games\\Beta\\screenshot.jpg", testpictures::kRedJpeg);
    d.AddFile(L"games\\Gamma\\descript.ion", ToCp1251(L"Гамма"));
    d.AddFile(L"games\\Gamma\\screenshot.jpg", "not a picture");
    d.AddRecorder(L"games\\My Game\\setup.exe");
    d.AddRecorder(L"games\\My.exe");  // must never start instead of "My Game\setup.exe"
    d.AddRecorder(L"games\\Игра 漢字 Ω\\install.exe");
    program_ = std::make_unique<Program>(d);
    const HWND main = program_->WaitUntilIdle();
    ASSERT_NE(main, nullptr);
    w_ = ViewOf(main);
    ASSERT_NE(w_.lsGame, nullptr);
  }
  void TearDown() override {
    program_.reset();
    disc_.reset();
  }
  std::wstring Description() const { return TextOf(w_.edDescript); }
  bool LaunchEnabled() const { return ::IsWindowEnabled(w_.btInstall) != FALSE; }

  std::unique_ptr<Disc> disc_;
  std::unique_ptr<Program> program_;
  Window w_{};
};

TEST_F(GameDetails, ArrowingThroughTheListShowsEachEntry) {
  struct Step {
    const wchar_t* entry;
    const wchar_t* description;
    Colour picture;
    bool launch;
  };
  // The list: Диск, Alpha, Beta, Gamma, My Game, Диск (the folder), Игра 漢字 Ω.
  const Step steps[] = {
      {L"Диск", L"Описание диска\r\n", Colour::Red, false},
      {L"Alpha", L"Альфа: ΩΨ\r\nвторая строка", Colour::Blue, true},
      {L"Beta", L"", Colour::Red, true},
      {L"Gamma", L"Гамма", Colour::Background, true},
      {L"My Game", L"", Colour::Background, true},
      {L"Диск", L"Описание диска\r\n", Colour::Red, false},
  };
  EXPECT_EQ(Description(), L"") << "nothing selected yet";
  int index = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(ToUtf8(s.entry));
    PressKey(w_, VK_DOWN);
    EXPECT_EQ(::SendMessageW(w_.lsGame, LB_GETCURSEL, 0, 0), index++);
    EXPECT_EQ(ToUtf8(Description()), ToUtf8(s.description));
    EXPECT_EQ(Name(PictureColour(w_)), std::string(Name(s.picture)));
    EXPECT_EQ(LaunchEnabled(), s.launch);
  }
  EXPECT_EQ(program_->ProcessesInJob(), 1) << "choosing starts nothing";
}

TEST_F(GameDetails, EnterStartsTheChosenGamesInstallerMinimised) {
  PressKey(w_, VK_DOWN);
  PressKey(w_, VK_RETURN);  // the disc entry: the launch button is disabled
  EXPECT_EQ(program_->ProcessesInJob(), 1);

  PressKey(w_, VK_DOWN);  // Alpha
  PressKey(w_, VK_RETURN);
  const std::string record = Recorded(*disc_, L"games\\Alpha\\setup.exe");
  EXPECT_NE(record.find("showwindow=2\n"), std::string::npos) << record;
  EXPECT_NE(record.find("commandline=\"" + ToUtf8(disc_->Root()) + "games\\Alpha\\setup.exe\""),
            std::string::npos)
      << record;
  EXPECT_TRUE(LaunchEnabled()) << "the launcher stays as it was";
  EXPECT_EQ(::SendMessageW(w_.lsGame, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(GameDetails, NamesWithBlanksAndLettersOutsideTheCodePageLaunch) {
  for (int i = 0; i < 5; ++i) PressKey(w_, VK_DOWN);  // My Game
  PressKey(w_, VK_RETURN);
  EXPECT_NE(Recorded(*disc_, L"games\\My Game\\setup.exe").find("showwindow=2"), std::string::npos);
  EXPECT_EQ(disc_->Recorded(L"games\\My.exe"), "")
      << "a blank in the path never starts something else";

  PressKey(w_, VK_DOWN);
  PressKey(w_, VK_DOWN);  // Игра 漢字 Ω
  PressKey(w_, VK_RETURN);
  EXPECT_NE(Recorded(*disc_, L"games\\Игра 漢字 Ω\\install.exe").find("showwindow=2"),
            std::string::npos);
}

TEST_F(GameDetails, AGameWithoutAnInstallerShowsTheFailureMessage) {
  PressKey(w_, VK_DOWN);
  PressKey(w_, VK_DOWN);
  PressKey(w_, VK_DOWN);  // Beta
  ::PostMessageW(w_.lsGame, WM_KEYDOWN, VK_RETURN, 1);
  const HWND box = program_->WaitForWindow(L"#32770", L"Error! 0");
  ASSERT_NE(box, nullptr);
  // The text itself is the unit tests' (GameLaunchTest).
  EXPECT_NE(MessageBoxText(box).find(L"\r\nsupport@varnolt.org\r\n"), std::wstring::npos);
  EXPECT_TRUE(HasIcon(box));
  PressOk(box);
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(w_.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result));
  EXPECT_FALSE(program_->WaitForExit(200)) << "a failed launch never ends the program";
  EXPECT_EQ(::SendMessageW(w_.lsGame, LB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(LaunchEnabled());
}

TEST(GameDetailsCase, AFolderDifferingFromTheDiscOnlyInLetterCaseIsAGame) {
  Disc disc(L"letter case", ToCp1251(L"[main]\r\ndisk=диск\r\n"), {L"Диск"});
  disc.AddFile(L"games\\Диск\\descript.ion", ToCp1251(L"игра"));
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const Window w = ViewOf(main);
  PressKey(w, VK_DOWN);
  PressKey(w, VK_DOWN);
  EXPECT_TRUE(::IsWindowEnabled(w.btInstall));
  EXPECT_EQ(ToUtf8(TextOf(w.edDescript)), ToUtf8(L"игра"));
}

// What a text holds never cuts it short or runs its lines together, in the
// description box and in the read-me's box alike; a long one comes whole.
TEST(GameDetailsCase, TextsAreShownWholeWithTheirLineBreaks) {
  std::string longText;
  for (int line = 0; longText.size() < 200000; ++line)
    longText += "Line " + std::to_string(line) + ": " + std::string(80, 'x') + "\r\n";
  Disc disc(L"texts", ToCp1251(L"[main]\r\ndisk=Диск\r\nhelp=Справка\r\n"),
            {L"A cr only", L"B nul", L"C last letter", L"D long"});
  disc.AddFile(L"games\\A cr only\\descript.ion", "one\rtwo\rthree");
  disc.AddFile(L"games\\B nul\\descript.ion", std::string("\0after a NUL", 12));
  disc.AddFile(L"games\\C last letter\\descript.ion", "Level 1 \xDF");
  disc.AddFile(L"games\\D long\\descript.ion", longText);
  disc.AddFile(L"read.me.txt", std::string("first\rsecond") + '\0' + "third\nfourth");
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const Window w = ViewOf(main);
  ASSERT_NE(w.lsGame, nullptr);

  PressKey(w, VK_DOWN);
  PressKey(w, VK_DOWN);  // A cr only
  EXPECT_EQ(TextOf(w.edDescript), L"one\r\ntwo\r\nthree");
  EXPECT_EQ(::SendMessageW(w.edDescript, EM_GETLINECOUNT, 0, 0), 3);
  PressKey(w, VK_DOWN);  // B nul
  EXPECT_EQ(TextOf(w.edDescript), L" after a NUL");
  PressKey(w, VK_DOWN);  // C last letter
  EXPECT_EQ(ToUtf8(TextOf(w.edDescript)), ToUtf8(L"Level 1 Я"));
  PressKey(w, VK_DOWN);  // D long: it may come in pieces
  std::wstring shown;
  for (int i = 0; i < 200 && shown.size() < longText.size(); ++i, ::Sleep(50))
    shown = TextOf(w.edDescript);
  EXPECT_TRUE(shown == std::wstring(longText.begin(), longText.end()))
      << "the long text whole, in order: " << shown.size() << " of " << longText.size();

  TypeKey(main, VK_F1);
  const HWND help = program.WaitForWindow(L"#32770", L"Справка", 5000);
  ASSERT_NE(help, nullptr);
  const std::vector<HWND> helpControls = ChildrenOf(help);
  const auto edit = std::find_if(helpControls.begin(), helpControls.end(),
                                 [](HWND c) { return ClassOf(c) == L"Edit"; });
  ASSERT_NE(edit, helpControls.end());
  const HWND edHelp = *edit;
  EXPECT_EQ(TextOf(edHelp), L"first\r\nsecond third\r\nfourth");
  EXPECT_EQ(::SendMessageW(edHelp, EM_GETLINECOUNT, 0, 0), 3);
  TypeKey(help, VK_ESCAPE);
}

}  // namespace
