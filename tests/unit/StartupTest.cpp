// Start-up over the simulated world: the checks and their messages, the list
// and captions, the settings, the sounds, the read-me button, the screen
// reader, and the way the program ends.
#include <gtest/gtest.h>

#include "SimDisc.h"
#include "startup/GetAllProcessesModule.h"

using namespace simdisc;
using MainModule::iHelpButton;

namespace {

const char* const kFullIni =
    "[main]\r\n"
    "disk=Звуковые игры\r\n"
    "list=Список игр\r\n"
    "description=Описание\r\n"
    "install=Установить\r\n"
    "close=Выход\r\n"
    "readme=Справка\r\n"
    "ScreenReader=0\r\n"
    "help=О диске\r\n"
    "HelpButton=2\r\n";

std::wstring Caption(int control) { return Window().controls[control].text; }

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, MissingSoundFolderShowsMessageOneAndEndsBeforeLookingFurther) {
  sim::TheWorld().executableFolder = kRoot;
  sim::AddFolder(kRoot);  // no autorun folder, no control file, no games
  EXPECT_TRUE(RunMain());
  ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
  const sim::Message& m = sim::TheWorld().messages[0];
  EXPECT_EQ(m.title, L"ERROR");
  EXPECT_EQ(m.text, L"Не могу загрузить PlaySound() winmm.dll\r\nПрограмма будет закрыта.");
  EXPECT_EQ(m.flags, 0x10u);
  EXPECT_TRUE(Window().shown) << "the window is on screen behind the message";
  EXPECT_TRUE(GameList().empty());
  EXPECT_EQ(sim::TheWorld().log.back(), L"exit");
}

TEST_F(StartupTest, SoundFolderWithOnlyHiddenFilesOrSubfoldersCountsAsMissing) {
  MakeDisc(kFullIni, {L"Game"});
  for (sim::Entry& e : sim::TheWorld().entries)
    if (e.path.find(L"\\autorun\\") != std::wstring::npos) e.attributes.hidden = true;
  sim::AddFolder(kRoot + L"\\autorun\\sub");
  EXPECT_TRUE(RunMain());
  ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
  EXPECT_EQ(sim::TheWorld().messages[0].title, L"ERROR");
}

TEST_F(StartupTest, MissingControlFileShowsItsFullPath) {
  MakeDisc(kFullIni, {L"Game"});
  sim::FindEntry(kRoot + L"\\autorun.ini")->attributes.hidden = true;  // hidden counts as missing
  EXPECT_TRUE(RunMain());
  ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
  EXPECT_EQ(sim::TheWorld().messages[0].title, L"Error");
  EXPECT_EQ(sim::TheWorld().messages[0].text,
            L"Отсутствует управляющий файл:\r\nD:\\Disc\\autorun.ini\r\nПрограмма будет закрыта.");
  EXPECT_EQ(sim::TheWorld().messages[0].flags, 0x10u);
}

TEST_F(StartupTest, GamesFolderWithoutSubfoldersOrMissingShowsMessageThree) {
  for (bool folderExists : {true, false}) {
    SCOPED_TRACE(folderExists ? "only files" : "no games folder");
    sim::ResetWorld();
    MainModule::ResetGlobals();
    MakeDisc(kFullIni, {});
    if (folderExists) {
      sim::AddFile(kRoot + L"\\games\\setup.exe");
      sim::AddFolder(kRoot + L"\\games\\Hidden", {true, false, false});
      sim::AddFolder(kRoot + L"\\games\\System", {false, true, false});
    } else {
      auto& entries = sim::TheWorld().entries;
      entries.erase(
          std::remove_if(entries.begin(), entries.end(),
                         [](const sim::Entry& e) { return e.path == kRoot + L"\\games"; }),
          entries.end());
    }
    EXPECT_TRUE(RunMain());
    ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
    EXPECT_EQ(sim::TheWorld().messages[0].title, L"Error");
    EXPECT_EQ(sim::TheWorld().messages[0].text, L"В папке:\r\nD:\\Disc\\games\\\r\nнет игр.");
  }
}

TEST_F(StartupTest, FillsListAndCaptionsAndSettings) {
  MakeDisc(kFullIni, {L"Game 10", L"Game 2", L"Alpha"});
  sim::AddFolder(kRoot + L"\\games\\Secret", {true, false, false});
  EXPECT_FALSE(RunMain());
  EXPECT_TRUE(sim::TheWorld().messages.empty());
  EXPECT_EQ(GameList(),
            (std::vector<std::wstring>{L"Звуковые игры", L"Alpha", L"Game 2", L"Game 10"}));
  EXPECT_EQ(Caption(MainLayout::lbGame), L"Список игр");
  EXPECT_EQ(Caption(MainLayout::lbDescript), L"Описание");
  EXPECT_EQ(Caption(MainLayout::btInstall), L"Установить");
  EXPECT_EQ(Caption(MainLayout::btClose), L"Выход");
  EXPECT_EQ(Caption(MainLayout::btReadMe), L"Справка");
  EXPECT_EQ(MainModule::tDiskName, L"Звуковые игры");
  EXPECT_EQ(MainModule::tHelpHead, L"О диске");
  EXPECT_EQ(iHelpButton, 2);
  EXPECT_FALSE(MainModule::bScreenReader);
  EXPECT_EQ(Window().controls[MainLayout::lsGame].fillDepth, 0) << "redrawing switched on again";
}

TEST_F(StartupTest, ControlFileInTheAnsiCodePageIsDecodedAsCp1251) {
  MakeDisc("[main]\r\ndisk=\xC8\xE3\xF0\xFB\r\n", {L"G"});
  RunMain();
  EXPECT_EQ(GameList().front(), L"Игры");
}

TEST_F(StartupTest, ControlFileEndingInOneAnsiLetterKeepsIt) {
  MakeDisc("[main]\r\ndisk=Disc \xDF", {L"G"});
  RunMain();
  EXPECT_EQ(GameList().front(), L"Disc Я");
}

TEST_F(StartupTest, EmptyMainSectionReadsZeroEverywhere) {
  MakeDisc("[main]\r\n", {L"G"});
  EXPECT_FALSE(RunMain());
  EXPECT_EQ(GameList(), (std::vector<std::wstring>{L"0", L"G"}));
  for (int c : {MainLayout::lbGame, MainLayout::lbDescript, MainLayout::btInstall,
                MainLayout::btClose, MainLayout::btReadMe})
    EXPECT_EQ(Caption(c), L"0") << c;
  EXPECT_EQ(MainModule::tHelpHead, L"0");
  EXPECT_FALSE(Window().controls[MainLayout::btReadMe].visible);
  EXPECT_FALSE(Window().controls[MainLayout::btReadMe].enabled);
  EXPECT_TRUE(sim::TheWorld().started.empty());
}

TEST_F(StartupTest, ProgramInADriveRootHasOneBackslash) {
  MakeDisc(kFullIni, {L"G"}, L"E:\\");
  EXPECT_FALSE(RunMain());
  EXPECT_EQ(MainModule::tAppPath, L"E:\\");
  EXPECT_EQ(MainModule::tGamesPath, L"E:\\games\\");
  EXPECT_EQ(MainModule::tNvdaFile, L"E:\\nvda\\nvda.exe");
  EXPECT_EQ(MainModule::tAutorunPath, L"E:\\autorun\\");
  EXPECT_EQ(MainModule::tReadMeFile, L"E:\\read.me.txt");
  EXPECT_EQ(MainModule::tIniFile, L"E:\\autorun.ini");
}

TEST_F(StartupTest, RegistersTheFourSoundsAndPlaysTheStartSound) {
  MakeDisc(kFullIni, {L"G"});
  // No load sound on this disc: its moment is silent, the rest number on.
  auto& entries = sim::TheWorld().entries;
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [](const sim::Entry& e) {
                                 return e.path.find(L"load.wav") != std::wstring::npos;
                               }),
                entries.end());
  RunMain();
  EXPECT_EQ(MainModule::iSndClick, 1);
  EXPECT_EQ(MainModule::iSndLoad, -1);
  EXPECT_EQ(MainModule::iSndStart, 2);
  EXPECT_EQ(MainModule::iSndStop, 3);
  ASSERT_EQ(sim::TheWorld().sounds.size(), 1u);
  EXPECT_EQ(sim::TheWorld().sounds[0].path,
            std::optional<std::wstring>(L"D:\\Disc\\autorun\\start.wav"));
  EXPECT_EQ(sim::TheWorld().sounds[0].flags, 0x20003u);
}

struct HelpButtonCase {
  const char* value;
  bool visible, enabled;
};

TEST_F(StartupTest, ReadMeButtonFollowsHelpButton) {
  const HelpButtonCase cases[] = {
      {"0", false, false},
      {"1", true, false},
      {"2", true, true},
      {"3", false, false},
      {"0.5", false, false},
      {"1.5", true, true},
      {"2.5", true, true},
      {"2.4", true, true},
      {"word", false, false},
      {" 1 ", true, false},
      {"99999999999", false, false},
      {"", false, false},
  };
  for (const HelpButtonCase& c : cases) {
    SCOPED_TRACE(c.value);
    sim::ResetWorld();
    MainModule::ResetGlobals();
    MakeDisc(std::string("[main]\r\nHelpButton=") + c.value + "\r\n", {L"G"});
    ASSERT_FALSE(RunMain());
    EXPECT_EQ(Window().controls[MainLayout::btReadMe].visible, c.visible);
    EXPECT_EQ(Window().controls[MainLayout::btReadMe].enabled, c.enabled);
  }
}

struct ScreenReaderCase {
  const char* value;
  std::vector<std::wstring> windows;
  bool started;
};

TEST_F(StartupTest, ScreenReaderIsStartedOnlyWhenAskedAndNoneRuns) {
  const ScreenReaderCase cases[] = {
      {"1", {}, true},         {"-1", {L"Program Manager"}, true},
      {"TrUe", {}, true},      {"0", {}, false},
      {"false", {}, false},    {"", {}, false},
      {"yes", {}, false},      {"1", {L"x", L"NVDA"}, false},
      {"1", {L"JAWS"}, false}, {"1", {L"nvda", L"NVDA - x", L"JAWS "}, true},
  };
  for (const ScreenReaderCase& c : cases) {
    SCOPED_TRACE(c.value);
    sim::ResetWorld();
    MainModule::ResetGlobals();
    MakeDisc(std::string("[main]\r\nScreenReader=") + c.value + "\r\n", {L"G"});
    sim::AddFolder(kRoot + L"\\nvda");
    sim::AddFile(kRoot + L"\\nvda\\nvda.exe", "MZ");
    sim::TheWorld().topWindowTitles = c.windows;
    ASSERT_FALSE(RunMain());
    ASSERT_EQ(sim::TheWorld().started.size(), c.started ? 1u : 0u);
    if (c.started) {
      EXPECT_EQ(sim::TheWorld().started[0].path, L"D:\\Disc\\nvda\\nvda.exe");
      EXPECT_EQ(sim::TheWorld().started[0].showState, 2);
    }
  }
}

TEST_F(StartupTest, MissingScreenReaderProgramIsQuiet) {
  MakeDisc("[main]\r\nScreenReader=1\r\n", {L"G"});
  EXPECT_FALSE(RunMain());
  EXPECT_TRUE(sim::TheWorld().started.empty());
  EXPECT_TRUE(sim::TheWorld().messages.empty());
}

TEST_F(StartupTest, ClosingPlaysTheStopSoundToItsEndThenFreesThePlayerAndEnds) {
  MakeDisc(kFullIni, {L"G"});
  ASSERT_FALSE(RunMain());
  sim::TheWorld().log.clear();
  EXPECT_THROW(sim::Click(fMain().form(), MainLayout::btClose), sim::ProgramExit);
  EXPECT_EQ(sim::TheWorld().log, (std::vector<std::wstring>{L"sound:D:\\Disc\\autorun\\stop.wav",
                                                            L"sound:(stop)", L"exit"}));
  EXPECT_EQ(sim::TheWorld().sounds.at(1).flags, 0x20002u) << "played synchronously";
  EXPECT_EQ(MainModule::oSound, nullptr);
}

TEST(WindowScanTest, TitlesAreExactAndNothingIsFoundBeforeAScan) {
  sim::ResetWorld();
  GetAllProcessesModule::ForgetWindows();
  sim::TheWorld().topWindowTitles = {L"NVDA", std::wstring(200, L'x')};
  EXPECT_FALSE(GetAllProcessesModule::WindowExists(L"NVDA"));
  EXPECT_FALSE(GetAllProcessesModule::WindowExists(L""));
  EXPECT_EQ(GetAllProcessesModule::CollectWindows(), 2);
  EXPECT_EQ(GetAllProcessesModule::Windows()[1].tTitle.size(), 143u) << "titles are cut";
  EXPECT_TRUE(GetAllProcessesModule::WindowExists(L"NVDA"));
  EXPECT_FALSE(GetAllProcessesModule::WindowExists(L"nvda"));
  EXPECT_EQ(GetAllProcessesModule::GetWindowTitle(0), L"");
  GetAllProcessesModule::ForgetWindows();
}

}  // namespace
