// Start-up over the simulated world: the checks and their messages, the list
// and captions, the sounds, the read-me button, the screen reader, the
// window.
#include <gtest/gtest.h>

#include "SimDisc.h"

using namespace simdisc;

namespace {

class StartupTest : public ProgramTest {};

// The checks run in order; the first that fails shows its message and ends
// the program, before the start sound (a sound may be stopped). A main
// window that cannot be created says so too: nothing ends without a word.
TEST_F(StartupTest, AFailedCheckShowsItsMessageAndEndsTheProgram) {
  const struct {
    void (*spoil)();
    const wchar_t* title;
    const wchar_t* text;
  } cases[] = {
      {[] { sim::TheWorld().windowsCannotBeCreated = true; }, L"Error",
       L"Не могу создать окно программы.\r\nПрограмма будет закрыта."},
      // A sound folder holding only hidden files is no sound folder; its
      // message comes first, before the missing control file's.
      {[] {
         for (sim::Entry& e : sim::TheWorld().entries)
           if (e.path.rfind(kRoot + L"\\autorun\\", 0) == 0) e.attributes.hidden = true;
         sim::FindEntry(kRoot + L"\\autorun.ini")->attributes.hidden = true;
       },
       L"ERROR", L"Не могу загрузить PlaySound() winmm.dll\r\nПрограмма будет закрыта."},
      // A hidden control file, and no games.
      {[] { sim::FindEntry(kRoot + L"\\autorun.ini")->attributes.hidden = true; }, L"Error",
       L"Отсутствует управляющий файл:\r\nD:\\Disc\\autorun.ini\r\nПрограмма будет закрыта."},
      // Only a file in the games folder.
      {[] { sim::AddFile(kRoot + L"\\games\\setup.exe"); }, L"Error",
       L"В папке:\r\nD:\\Disc\\games\\\r\nнет игр."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    Reset();
    MakeDisc("[main]\r\n", {});
    c.spoil();
    EXPECT_TRUE(RunMain());
    for (const sim::SoundCall& sound : sim::TheWorld().sounds)
      EXPECT_FALSE(sound.path) << "a sound played";
    ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
    EXPECT_EQ(sim::TheWorld().messages[0].title, c.title);
    EXPECT_EQ(sim::TheWorld().messages[0].text, c.text);
    EXPECT_EQ(sim::TheWorld().messages[0].icon, platform::MessageIcon::Error);
  }
}

// The disc's name first, then the games; every caption from the first [main]
// section, "0" where it has none. Games the comparison calls equal (possible
// where names are case sensitive) are listed in one fixed order, not the
// order the system enumerates them in.
TEST_F(StartupTest, TheListAndCaptionsComeFromTheFirstMainSection) {
  MakeDisc("[main]\r\ndisk=\xC8\xE3\xF0\xFB\r\n[main]\r\nlist=a second section\r\n",
           {L"Game 10", L"game 2", L"Game 02", L"GAME 2", L"Alpha"});
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(
      Control(MainLayout::lsGame).items,
      (std::vector<std::wstring>{L"Игры", L"Alpha", L"GAME 2", L"Game 02", L"game 2", L"Game 10"}));
  EXPECT_EQ(Control(MainLayout::lsGame).fillDepth, 0) << "redrawing switched on again";
  for (int control : {MainLayout::lbGame, MainLayout::lbDescript, MainLayout::btInstall,
                      MainLayout::btClose, MainLayout::btReadMe})
    EXPECT_EQ(Control(control).text, L"0") << control;
  EXPECT_EQ(MainModule::tHelpHead, L"0") << "the read-me's heading";
}

// In a drive's root, without the load sound: the others keep their numbers.
TEST_F(StartupTest, TheStartSoundPlaysWhileStartUpGoesOn) {
  MakeDisc("[main]\r\n", {L"G"}, L"E:\\");
  sim::FindEntry(L"E:\\autorun\\load.wav")->attributes.hidden = true;
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(sim::TheWorld().sounds.at(0).path, L"E:\\autorun\\start.wav");
  EXPECT_EQ(sim::TheWorld().sounds.at(0).mode, platform::SoundMode::Async);
  EXPECT_THROW(sim::Click(fMain().form(), MainLayout::btClose), sim::ProgramExit);
  EXPECT_EQ(sim::TheWorld().sounds.at(1).path, L"E:\\autorun\\stop.wav");
  ASSERT_EQ(sim::TheWorld().sounds.size(), 3u) << "the player freed on the way out";
  EXPECT_FALSE(sim::TheWorld().sounds[2].path);
}

// A close request while start-up goes on (Esc pressed as the window comes
// up) is carried out once the program has started: the stop sound is heard,
// where before the program vanished without a sound or a word.
TEST_F(StartupTest, ACloseRequestDuringStartUpEndsItWithTheStopSound) {
  MakeDisc("[main]\r\n", {L"G"});
  sim::TheWorld().waitingEvents.push_back([] { sim::RequestClose(fMain().form()); });
  EXPECT_TRUE(RunMain());
  EXPECT_EQ(Control(MainLayout::lsGame).items.size(), 2u) << "start-up went on to its end";
  ASSERT_GE(sim::TheWorld().sounds.size(), 2u);
  EXPECT_EQ(sim::TheWorld().sounds[0].path, kRoot + L"\\autorun\\start.wav");
  EXPECT_EQ(sim::TheWorld().sounds[1].path, kRoot + L"\\autorun\\stop.wav");
  EXPECT_EQ(sim::TheWorld().sounds[1].mode, platform::SoundMode::Sync) << "heard to its end";
}

// HelpButton, a whole number (halves to even): 1 shows the read-me button, 2
// shows it enabled, anything else hides it. The screen reader is started,
// minimised, when asked and no window of it or of another reader is open.
// A failed launch names the disc's support address, the program's where the
// disc gives none.
TEST_F(StartupTest, TheReadMeButtonAndTheScreenReaderFollowTheirSettings) {
  const struct {
    const char* settings;
    bool visible, enabled, started;
    std::vector<std::wstring> windows = {};  // the titles of the windows open
    const wchar_t* mail = L"support@varnolt.org";
  } cases[] = {
      {"HelpButton=0\r\nScreenReader=1\r\nsupport=", false, false, true},
      {"HelpButton=1\r\nScreenReader=0\r\nsupport=0", true, false, false},
      {"HelpButton=2\r\nScreenReader=1\r\nsupport=a@b.ru",
       true,
       true,
       false,
       {L"x", L"NVDA"},
       L"a@b.ru"},
      {"HelpButton=3\r\nScreenReader=1", false, false, false, {L"JAWS"}},
      {"HelpButton=1.5\r\nScreenReader=TrUe", true, true, true, {L"nvda", L"NVDA - x", L"JAWS "}},
      {"HelpButton=99999999999", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    Reset();
    MakeDisc(std::string("[main]\r\n") + c.settings + "\r\n", {L"G"});
    sim::AddFolder(kRoot + L"\\nvda");
    sim::AddFile(kRoot + L"\\nvda\\nvda.exe", "MZ");
    sim::TheWorld().topWindowTitles = c.windows;
    ASSERT_FALSE(RunMain());
    EXPECT_EQ(Control(MainLayout::btReadMe).visible, c.visible);
    EXPECT_EQ(Control(MainLayout::btReadMe).enabled, c.enabled);
    EXPECT_EQ(MainModule::tSupportMail, c.mail);
    ASSERT_EQ(sim::TheWorld().started.size(), c.started ? 1u : 0u);
    if (!c.started) continue;
    EXPECT_EQ(sim::TheWorld().started[0].path, L"D:\\Disc\\nvda\\nvda.exe");
    EXPECT_EQ(sim::TheWorld().started[0].show, platform::ShowState::Minimized);
  }
}

// Made as small as it goes, the window keeps its captions and the widest of
// the list's first 501 entries whole, wider than it opened where that takes
// more, but never wider than the screen nor taller than it opened.
TEST_F(StartupTest, TheSmallestSizeKeepsCaptionsAndEntriesWholeWithinTheScreen) {
  const float screen = sim::TheWorld().workArea.width, charWidth = sim::TheWorld().charWidth;
  // Room around an entry: its margins, the scroll bar and the list's edges.
  const float aroundEntry = sim::kEntryMargins + sim::kScrollBarWidth + sim::kBoxEdges;
  std::vector<std::wstring> many;  // the disc's entry and 500 games come first
  for (int i = 0; i < 600; ++i) many.push_back(L"Game " + std::to_wstring(1000 + i));
  many.push_back(L"Game 1550" + std::wstring(300, L'x'));  // entry 552: not measured
  const struct {
    const char* what;
    std::string settings;
    std::vector<std::wstring> games;
    float whole;       // an entry the list keeps whole, just, 0 for none
    bool asTheScreen;  // held as wide as the screen
  } cases[] = {
      {"a long disc name", "disk=" + std::string(40, 'D'), {L"Alpha"}, 40 * charWidth, false},
      {"a long game name", "disk=D", {L"Alpha" + std::wstring(35, L'x')}, 40 * charWidth, false},
      {"a name no screen holds", "disk=" + std::string(250, 'D'), {L"Alpha"}, 0, true},
      {"a caption no screen holds", "install=" + std::string(200, 'W'), {L"Alpha"}, 0, true},
      {"a long name after the first 501", "disk=D", many, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    MakeDisc("[main]\r\n" + c.settings + "\r\n", c.games);
    ASSERT_FALSE(RunMain());
    const float height = Window().height;
    sim::Resize(fMain().form(), 160 * 15, 120 * 15);
    EXPECT_LT(Window().height, height);
    EXPECT_EQ(Window().width == screen, c.asTheScreen) << Window().width;
    if (c.whole > 0) {
      EXPECT_NEAR(Control(MainLayout::lsGame).width, c.whole + aroundEntry, 15);
    }
    EXPECT_LT(Control(MainLayout::lsGame).width, 300 * charWidth);
  }
}

}  // namespace
