// Choosing entries of the game list and starting a game, over the simulated
// world: the launch button, the description, the picture, the sounds, in
// their order, and what the launch starts or reports.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "util/DisplayTextModule.h"

using namespace simdisc;

namespace {

constexpr int kDown = 0x28, kUp = 0x26, kReturn = 0x0D;
const std::wstring kGames = kRoot + L"\\games\\";
const std::wstring kAutorun = kRoot + L"\\autorun\\";

const sim::ControlState& Control(int c) { return Window().controls[c]; }
std::vector<std::wstring>& Log() { return sim::TheWorld().log; }
int LoadSounds() {
  int n = 0;
  for (const sim::SoundCall& s : sim::TheWorld().sounds) n += s.path == kAutorun + L"load.wav";
  return n;
}

class GameDetailsTest : public ProgramTest {
 protected:
  void Start(const std::string& ini = "[main]\r\ndisk=Диск\r\n") {
    MakeDisc(ini, {L"Alpha", L"Beta", L"Gamma", L"Диск"});
    sim::AddFile(kAutorun + L"descript.ion", "\xC4\xE8\xF1\xEA");  // "Диск" in 1251
    sim::AddFile(kAutorun + L"screenshot.jpg", testpictures::kRedJpeg);
    sim::AddFile(kGames + L"Alpha\\descript.ion", "Alpha\r\nsecond line\r\n");
    sim::AddFile(kGames + L"Alpha\\screenshot.jpg", testpictures::kBlueJpeg);
    sim::AddFile(kGames + L"Alpha\\setup.exe", "MZ");
    sim::AddFile(kGames + L"Beta\\screenshot.jpg", testpictures::kRedJpeg);  // no description
    sim::AddFile(kGames + L"Gamma\\descript.ion", "Gamma");
    sim::AddFile(kGames + L"Gamma\\screenshot.jpg", "not a picture at all, only some text");
    ASSERT_FALSE(RunMain());
    fMain().lsGame.SetFocus();
    Log().clear();
    sim::TheWorld().sounds.clear();
  }
  void Press(int key) { sim::PressKey(fMain().form(), key); }
};

TEST_F(GameDetailsTest, DiscEntryShowsTheDiscsOwnFilesInOrderAndDisablesLaunch) {
  Start();
  Press(kDown);
  EXPECT_EQ(Control(MainLayout::lsGame).selected, 0);
  EXPECT_FALSE(Control(MainLayout::btInstall).enabled);
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Диск");
  EXPECT_EQ(Control(MainLayout::img).picture, kAutorun + L"screenshot.jpg");
  // The picture, then the text, then the load sound.
  EXPECT_EQ(Log(),
            (std::vector<std::wstring>{L"picture:", L"picture:" + kAutorun + L"screenshot.jpg",
                                       L"text:Диск", L"sound:" + kAutorun + L"load.wav"}));
}

TEST_F(GameDetailsTest, ArrowsThroughTheGames) {
  Start();
  Press(kDown);
  Press(kDown);  // Alpha
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Alpha\r\nsecond line\r\n")
      << "the whole file, unchanged";
  EXPECT_EQ(Control(MainLayout::img).picture, kGames + L"Alpha\\screenshot.jpg");
  EXPECT_EQ(LoadSounds(), 2);

  Press(kDown);  // Beta: a picture, no description
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"");
  EXPECT_EQ(Control(MainLayout::img).picture, kGames + L"Beta\\screenshot.jpg");
  EXPECT_EQ(LoadSounds(), 2) << "an empty description plays nothing";

  Press(kDown);  // Gamma: a description, a picture that is not one
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Gamma");
  EXPECT_EQ(Control(MainLayout::img).picture, L"")
      << "the earlier picture never stays beside this text";
  EXPECT_EQ(LoadSounds(), 3);

  Press(kUp);  // back to Beta
  EXPECT_EQ(Control(MainLayout::img).picture, kGames + L"Beta\\screenshot.jpg");
}

TEST_F(GameDetailsTest, TheDiscEntryIsToldByItsExactText) {
  Start();
  for (int i = 0; i < 5; ++i) Press(kDown);  // the game folder named exactly like the disc
  EXPECT_EQ(Control(MainLayout::lsGame).selected, 4);
  EXPECT_FALSE(Control(MainLayout::btInstall).enabled)
      << "a folder named like the disc is the disc";
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Диск");

  sim::ResetWorld();
  MainModule::ResetGlobals();
  Start("[main]\r\ndisk=диск\r\n");  // differs from the folder "Диск" in letter case only
  for (int i = 0; i < 5; ++i) Press(kDown);
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled) << "letter case counts";
}

TEST_F(GameDetailsTest, EmptyAndLockedDescriptionsShowNothingAndStaySilent) {
  Start();
  sim::FindEntry(kGames + L"Alpha\\descript.ion")->bytes.clear();
  sim::FindEntry(kGames + L"Gamma\\descript.ion")->locked = true;
  Press(kDown);
  Press(kDown);  // Alpha, empty description
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"");
  Press(kDown);
  Press(kDown);  // Gamma, locked
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"") << "nothing of an earlier entry survives";
  EXPECT_EQ(LoadSounds(), 1) << "only the disc entry's description was read";
}

TEST_F(GameDetailsTest, DescriptionsAreShownWholeWithTheirLineBreaks) {
  Start();
  struct Case {
    std::string bytes;
    std::wstring shown;
    const char* what;
  };
  const Case cases[] = {
      {"Level 1 \xDF", L"Level 1 Я", "an ANSI letter last"},
      {"one\rtwo\rthree\r", L"one\r\ntwo\r\nthree\r\n", "old Mac line ends"},
      {"one\ntwo", L"one\r\ntwo", "Unix line ends"},
      {std::string("\0after a NUL", 12), L" after a NUL", "a NUL first"},
      {"\xEF\xBB\xBF\xD0\x98\xFF\xD0\x98", L"И\xFFFDИ", "UTF-8 with a bad byte"},
  };
  for (int i = 0; i < 4; ++i) Press(kDown);  // Gamma
  for (const Case& c : cases) {
    sim::FindEntry(kGames + L"Gamma\\descript.ion")->bytes = c.bytes;
    Press(kUp);
    Press(kDown);
    ASSERT_EQ(Control(MainLayout::lsGame).selected, 3);
    EXPECT_EQ(Control(MainLayout::edDescript).text, c.shown) << c.what;
  }
  Press(kUp);  // to Beta, without a description
  std::string line(5000, 'x');
  sim::FindEntry(kGames + L"Gamma\\descript.ion")->bytes = line;
  Press(kDown);
  const std::wstring shown = Control(MainLayout::edDescript).text;
  const std::size_t breaks = (line.size() - 1) / DisplayTextModule::kMaxLineChars;
  EXPECT_EQ(shown.size(), line.size() + 2 * breaks) << "a long line is broken where full";
  EXPECT_EQ(shown.find(L"\r\n"), DisplayTextModule::kMaxLineChars);
}

TEST_F(GameDetailsTest, FocusWithNothingSelectedEmptiesOnlyTheDescription) {
  Start();
  fMain().edDescript.SetText(L"left over");
  fMain().ShowScreenshot(kAutorun + L"screenshot.jpg");
  fMain().btInstall.SetEnabled(true);
  fMain().btClose.SetFocus();
  fMain().lsGame.SetFocus();
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"");
  EXPECT_EQ(Control(MainLayout::img).picture, kAutorun + L"screenshot.jpg");
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
}

TEST_F(GameDetailsTest, ShowScreenshotOfAFolderOrNothingLeavesThePictureEmpty) {
  Start();
  for (const std::wstring& file :
       {kGames + L"Alpha", kGames + L"Alpha\\", std::wstring(), kGames + L"missing.jpg"}) {
    fMain().ShowScreenshot(kAutorun + L"screenshot.jpg");
    fMain().ShowScreenshot(file);
    EXPECT_EQ(Control(MainLayout::img).picture, L"");
  }
}

class GameLaunchTest : public GameDetailsTest {
 protected:
  void SelectGame(int index) {
    for (int i = Control(MainLayout::lsGame).selected; i < index; ++i) Press(kDown);
  }
  const sim::Message* LastMessage() {
    return sim::TheWorld().messages.empty() ? nullptr : &sim::TheWorld().messages.back();
  }
};

TEST_F(GameLaunchTest, EnterStartsTheFirstProgramMinimisedAfterTheClick) {
  Start();
  sim::AddFile(kGames + L"Alpha\\second.exe", "MZ");
  SelectGame(1);
  Log().clear();
  Press(kReturn);
  ASSERT_EQ(sim::TheWorld().started.size(), 1u);
  EXPECT_EQ(sim::TheWorld().started[0].path, kGames + L"Alpha\\setup.exe");
  EXPECT_EQ(sim::TheWorld().started[0].showState, 2);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"sound:" + kAutorun + L"click.wav",
                                              L"start:" + kGames + L"Alpha\\setup.exe"}));
  EXPECT_TRUE(sim::TheWorld().messages.empty());
  // Everything stays as it was; a second Enter starts it again.
  EXPECT_EQ(Control(MainLayout::lsGame).selected, 1);
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Alpha\r\nsecond line\r\n");
  Press(kReturn);
  EXPECT_EQ(sim::TheWorld().started.size(), 2u);
}

TEST_F(GameLaunchTest, EnterOnTheDiscEntryStartsNothing) {
  Start();
  SelectGame(0);
  Press(kReturn);
  EXPECT_TRUE(sim::TheWorld().started.empty());
  EXPECT_TRUE(sim::TheWorld().messages.empty());
}

TEST_F(GameLaunchTest, FilesMatchingOnlyByTheirShortNameAreNeverStarted) {
  Start();
  sim::Entry& setup = *sim::FindEntry(kGames + L"Alpha\\setup.exe");
  setup.path = kGames + L"Alpha\\zz_setup.exe";  // enumerated after the impostors below
  sim::AddFile(kGames + L"Alpha\\readme.exe.txt", "text");
  sim::TheWorld().entries.back().shortName = L"README~1.EXE";
  sim::AddFile(kGames + L"Alpha\\game.exe_", "MZ");
  sim::TheWorld().entries.back().shortName = L"GAME~1.EXE";
  std::rotate(sim::TheWorld().entries.begin(), sim::TheWorld().entries.end() - 2,
              sim::TheWorld().entries.end());
  SelectGame(1);
  Press(kReturn);
  ASSERT_EQ(sim::TheWorld().started.size(), 1u);
  EXPECT_EQ(sim::TheWorld().started[0].path, kGames + L"Alpha\\zz_setup.exe");
}

TEST_F(GameLaunchTest, FailuresShowTheMessageWithCodeZeroAndChangeNothing) {
  struct Case {
    const char* what;
    void (*prepare)();
  };
  const Case cases[] = {
      {"no program", [] {}},
      {"only a hidden program and a folder",
       [] {
         sim::AddFile(kGames + L"Beta\\setup.exe", "MZ", {true, false, false});
         sim::AddFolder(kGames + L"Beta\\data.exe");
       }},
      {"a program that cannot start",
       [] {
         sim::AddFile(kGames + L"Beta\\setup.exe", "MZ");
         sim::TheWorld().entries.back().startable = false;
       }},
      {"only a short-name impostor",
       [] {
         sim::AddFile(kGames + L"Beta\\notes.exe.txt", "text");
         sim::TheWorld().entries.back().shortName = L"NOTES~1.EXE";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::ResetWorld();
    MainModule::ResetGlobals();
    Start();
    c.prepare();
    SelectGame(2);  // Beta
    Press(kReturn);
    EXPECT_TRUE(sim::TheWorld().started.empty());
    const sim::Message* m = LastMessage();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->title, L"Error! 0");
    EXPECT_EQ(m->text,
              L"0\r\nНе установлена. Пожалуйста, сообщите об этом на:\r\nsupport@varnolt.org\r\n"
              L"И пришлите пожалуйста ссылку на программу, вызвавшую эту ошибку.\r\n"
              L"В письме укажите код ошибки: 0.");
    EXPECT_EQ(m->flags, 0x40u);
    EXPECT_EQ(Control(MainLayout::lsGame).selected, 2);
    EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
    EXPECT_FALSE(sim::TheWorld().exited);
  }
}

TEST_F(GameLaunchTest, TheDiscMayNameItsOwnSupportAddress) {
  Start("[main]\r\ndisk=Диск\r\nsupport= games@disc.example \r\n");
  SelectGame(2);
  Press(kReturn);
  ASSERT_NE(LastMessage(), nullptr);
  EXPECT_NE(LastMessage()->text.find(L"\r\ngames@disc.example\r\n"), std::wstring::npos);
  EXPECT_EQ(LaunchFailureTitle(1234), L"Error! 1234");
  EXPECT_EQ(LaunchFailureText(-5, L"x").substr(0, 4), L"-5\r\n");
}

}  // namespace
