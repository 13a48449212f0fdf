// Start-up over the simulated world: the checks and their messages, the list
// and captions, the sounds, the read-me button, the screen reader.
#include <gtest/gtest.h>

#include "SimDisc.h"

using namespace simdisc;

namespace {

class StartupTest : public ProgramTest {};

// The checks run in order; the first that fails shows its message and ends
// the program.
TEST_F(StartupTest, AFailedCheckShowsItsMessageAndEndsTheProgram) {
  const wchar_t* const kNoGames = L"В папке:\r\nD:\\Disc\\games\\\r\nнет игр.";
  struct Case {
    const char* what;
    void (*spoil)();
    const wchar_t* title;
    const wchar_t* text;
  };
  const Case cases[] = {
      {"only hidden files in the sound folder, a hidden control file",
       [] {
         for (sim::Entry& e : sim::TheWorld().entries) e.attributes.hidden = !e.folder;
       },
       L"ERROR", L"Не могу загрузить PlaySound() winmm.dll\r\nПрограмма будет закрыта."},
      {"a hidden control file, no games",
       [] { sim::FindEntry(kRoot + L"\\autorun.ini")->attributes.hidden = true; }, L"Error",
       L"Отсутствует управляющий файл:\r\nD:\\Disc\\autorun.ini\r\nПрограмма будет закрыта."},
      {"only a file in the games folder", [] { sim::AddFile(kRoot + L"\\games\\setup.exe"); },
       L"Error", kNoGames},
      {"no games folder", [] { sim::FindEntry(kRoot + L"\\games")->path = kRoot + L"\\other"; },
       L"Error", kNoGames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    MakeDisc("[main]\r\n", {});
    c.spoil();
    EXPECT_TRUE(RunMain());
    ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
    EXPECT_EQ(sim::TheWorld().messages[0].title, c.title);
    EXPECT_EQ(sim::TheWorld().messages[0].text, c.text);
    EXPECT_EQ(sim::TheWorld().messages[0].flags, 0x10u) << "the error icon";
  }
}

// The disc's name first, then the games; every caption from the first [main]
// section, "0" where it has none.
TEST_F(StartupTest, TheListAndCaptionsComeFromTheControlFile) {
  struct Case {
    const char* ini;
    std::wstring disc;
    std::vector<std::wstring> captions;  // lbGame, lbDescript, btInstall, btClose, btReadMe
  };
  const std::vector<std::wstring> zeros(5, L"0");
  const Case cases[] = {
      {"[main]\r\ndisk=Звуковые игры\r\nlist=Список игр\r\ndescription=Описание\r\n"
       "install=Установить\r\nclose=Выход\r\nreadme=Справка\r\n",
       L"Звуковые игры",
       {L"Список игр", L"Описание", L"Установить", L"Выход", L"Справка"}},
      {"[main]\r\n", L"0", zeros},
      {"[main]\r\ndisk=\xC8\xE3\xF0\xFB\r\n[main]\r\nlist=a second section\r\n", L"Игры", zeros},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.ini)));
    Reset();
    MakeDisc(c.ini, {L"Game 10", L"Game 2", L"Alpha"});
    ASSERT_FALSE(RunMain());
    EXPECT_EQ(Control(MainLayout::lsGame).items,
              (std::vector<std::wstring>{c.disc, L"Alpha", L"Game 2", L"Game 10"}));
    EXPECT_EQ(Control(MainLayout::lsGame).fillDepth, 0) << "redrawing switched on again";
    std::vector<std::wstring> captions;
    for (int control : {MainLayout::lbGame, MainLayout::lbDescript, MainLayout::btInstall,
                        MainLayout::btClose, MainLayout::btReadMe})
      captions.push_back(Control(control).text);
    EXPECT_EQ(captions, c.captions);
  }
}

// In a drive's root, without the load sound: that moment alone is silent.
TEST_F(StartupTest, TheStartSoundPlaysAndClosingPlaysTheStopSoundToItsEnd) {
  MakeDisc("[main]\r\n", {L"G"}, L"E:\\");
  sim::FindEntry(L"E:\\autorun\\load.wav")->attributes.hidden = true;
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(sim::TheWorld().sounds.at(0).path, L"E:\\autorun\\start.wav");
  Log().clear();
  EXPECT_THROW(sim::Click(fMain().form(), MainLayout::btClose), sim::ProgramExit);
  EXPECT_EQ(Log(),
            (std::vector<std::wstring>{L"sound:E:\\autorun\\stop.wav", L"sound:(stop)", L"exit"}));
  EXPECT_EQ(sim::TheWorld().sounds.at(0).flags, 0x20003u) << "start-up goes on meanwhile";
  EXPECT_EQ(sim::TheWorld().sounds.at(1).flags, 0x20002u) << "played to its end";
}

TEST_F(StartupTest, ReadMeButtonFollowsHelpButton) {
  struct Case {
    const char* value;
    bool visible, enabled;
  };
  const Case cases[] = {
      {"0", false, false}, {"1", true, false}, {"2", true, true},    {"3", false, false},
      {"1.5", true, true}, {"", false, false}, {"-1", false, false}, {"99999999999", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Reset();
    MakeDisc(std::string("[main]\r\nHelpButton=") + c.value + "\r\n", {L"G"});
    ASSERT_FALSE(RunMain());
    EXPECT_EQ(Control(MainLayout::btReadMe).visible, c.visible);
    EXPECT_EQ(Control(MainLayout::btReadMe).enabled, c.enabled);
  }
}

TEST_F(StartupTest, ScreenReaderIsStartedOnlyWhenAskedAndNoneRuns) {
  struct Case {
    const char* value;
    std::vector<std::wstring> windows;
    bool started;
  };
  const Case cases[] = {
      {"1", {}, true},
      {"0", {}, false},
      {"1", {L"x", L"NVDA"}, false},
      {"1", {L"JAWS"}, false},
      {"TrUe", {L"nvda", L"NVDA - x", L"JAWS "}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Reset();
    MakeDisc(std::string("[main]\r\nScreenReader=") + c.value + "\r\n", {L"G"});
    sim::AddFolder(kRoot + L"\\nvda");
    sim::AddFile(kRoot + L"\\nvda\\nvda.exe", "MZ");
    sim::TheWorld().topWindowTitles = c.windows;
    ASSERT_FALSE(RunMain());
    EXPECT_EQ(sim::TheWorld().started.size(), c.started ? 1u : 0u);
  }
}

}  // namespace
